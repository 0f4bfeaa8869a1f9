#pragma once
// The start of the programs without windows (zvsetup, zvcheck, zvreport).
#include <memory>
#include <string>

class QApplication;

namespace zv::gui {

// The arguments joined by one blank: the host passes the declaration key as
// one argument, and several are read as the one command line they make.
std::string CommandLine(int argc, char** argv);

// Message boxes need an application object; it is made only when there is a
// display to show them on (without one they go to standard error). Then the
// platform services are installed. Keep it for the whole run.
class WindowlessApplication {
public:
    WindowlessApplication(int& argc, char** argv);
    ~WindowlessApplication();
    WindowlessApplication(const WindowlessApplication&) = delete;
    WindowlessApplication& operator=(const WindowlessApplication&) = delete;

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace zv::gui
