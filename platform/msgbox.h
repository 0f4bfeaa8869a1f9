#pragma once
// One message-box service for the four programs. Domain code calls MsgBox;
// the program's main installs the Qt service when there is a display, the
// standard-error service otherwise; tests install ScriptedMessages.
#include <deque>
#include <string>
#include <vector>

namespace zv {

enum class Icon { None, Information, Exclamation, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
    std::string text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    std::string title;
    int defaultButton = 0;  // 0-based among the buttons
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual Answer Show(const MessageRequest& request) = 0;
};

// The buttons of a box, in the order shown.
std::vector<Answer> ButtonsOf(Buttons buttons);
// The answer a box gives when nobody chooses: its default button.
Answer DefaultAnswer(const MessageRequest& request);

// Writes "title: text", a blank line, to standard error; answers the default.
class StderrMessages : public MessageService {
public:
    Answer Show(const MessageRequest& request) override;
};

// For tests: answers from a queue (the default button once it is empty) and
// records every box shown.
class ScriptedMessages : public MessageService {
public:
    Answer Show(const MessageRequest& request) override;
    void Push(Answer a) { answers.push_back(a); }
    std::deque<Answer> answers;
    std::vector<MessageRequest> shown;
};

MessageService& Messages();
// Installs a service (not owned); nullptr restores the default choice:
// stderr when there is no display or ZARVO_MSGBOX=stderr.
void SetMessageService(MessageService* service);
// A display the program can open: WAYLAND_DISPLAY, or a DISPLAY whose X
// server answers.
bool DisplayReachable();
bool HasDisplay();  // DisplayReachable() and ZARVO_MSGBOX != "stderr"

Answer MsgBox(const std::string& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
              const std::string& title = "", int defaultButton = 0);

}  // namespace zv
