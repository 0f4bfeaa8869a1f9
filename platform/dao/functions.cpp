// The old engine's string and number functions, registered on every
// connection: MID, LEFT, RIGHT (called zv_left/zv_right, since LEFT and RIGHT
// are keywords of SQLite; statements are rewritten), LEN, TRIM, LTRIM, RTRIM,
// VAL, UCASE, NZ. They count characters, not bytes; Null gives Null.
#include <cmath>

#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"
#include "platform/textfile.h"

namespace dao {

namespace {

bool AnyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

std::string TextArg(sqlite3_value* v) {
    const unsigned char* t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string();
}

void ResultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

std::size_t CountArg(sqlite3_value* v) {
    sqlite3_int64 n = sqlite3_value_int64(v);
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

void Mid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    sqlite3_int64 start = sqlite3_value_int64(argv[1]);
    if (start < 1) start = 1;
    std::size_t count = argc > 2 ? CountArg(argv[2]) : std::string::npos;
    ResultText(ctx, zv::text::Mid(TextArg(argv[0]), static_cast<std::size_t>(start), count));
}

void Left(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, zv::text::Left(TextArg(argv[0]), CountArg(argv[1])));
}

void Right(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, zv::text::Right(TextArg(argv[0]), CountArg(argv[1])));
}

void Len(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(zv::text::Length(TextArg(argv[0]))));
}

std::string StripBlanks(std::string s, bool left, bool right) {
    if (left) s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
    if (right) {
        auto last = s.find_last_not_of(' ');
        s.erase(last == std::string::npos ? 0 : last + 1);
    }
    return s;
}

void Trim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, StripBlanks(TextArg(argv[0]), true, true));
}

void LTrim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, StripBlanks(TextArg(argv[0]), true, false));
}

void RTrim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, StripBlanks(TextArg(argv[0]), false, true));
}

// Whole results as integers, so that they compare equal to the texts "1", "11" of text columns.
void Val(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    int type = sqlite3_value_type(argv[0]);
    double v = type == SQLITE_INTEGER || type == SQLITE_FLOAT ? sqlite3_value_double(argv[0])
                                                              : conv::Val(TextArg(argv[0]));
    if (v == std::trunc(v) && std::fabs(v) < 9e15) sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(v));
    else sqlite3_result_double(ctx, v);
}

void UCase(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    ResultText(ctx, zv::text::UpperCase(TextArg(argv[0])));
}

void Nz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(ctx, argv[0]);
    if (argc > 1) return sqlite3_result_value(ctx, argv[1]);
    sqlite3_result_int(ctx, 0);
}

}  // namespace

void RegisterJetFunctions(sqlite3* db) {
    struct Def {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Def kDefs[] = {
        {"mid", 2, Mid},   {"mid", 3, Mid},       {"zv_left", 2, Left}, {"zv_right", 2, Right},
        {"len", 1, Len},   {"trim", 1, Trim},     {"ltrim", 1, LTrim},  {"rtrim", 1, RTrim},
        {"val", 1, Val},   {"ucase", 1, UCase},   {"nz", 1, Nz},        {"nz", 2, Nz},
    };
    for (const auto& d : kDefs)
        sqlite3_create_function_v2(db, d.name, d.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, d.fn, nullptr,
                                   nullptr, nullptr);
}

}  // namespace dao
