#include "platform/dao/jetsql.h"

#include <cctype>
#include <optional>

#include "platform/dao/conversion.h"

namespace dao::jetsql {

namespace {

enum class Tok { Word, QuotedName, String, Number, Symbol, Space, End };

struct Token {
    Tok kind;
    std::string text;
    // The identifier without its brackets or quotes (for Word and QuotedName).
    std::string Name() const {
        if (kind != Tok::QuotedName) return text;
        std::string inner = text.substr(1, text.size() - 2);
        if (text[0] == '"') {
            std::string out;
            for (std::size_t i = 0; i < inner.size(); ++i) {
                out += inner[i];
                if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
            }
            return out;
        }
        return inner;
    }
    bool Is(std::string_view word) const { return kind == Tok::Word && conv::EqualsIgnoringCase(text, word); }
    bool IsSym(std::string_view s) const { return kind == Tok::Symbol && text == s; }
    bool IsName() const { return kind == Tok::Word || kind == Tok::QuotedName; }
};

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    auto isWordChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    while (i < s.size()) {
        char c = s[i];
        std::size_t start = i;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
            out.push_back({Tok::Space, std::string(s.substr(start, i - start))});
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            while (i < s.size() && s[i] != '\n') ++i;
            out.push_back({Tok::Space, std::string(s.substr(start, i - start))});
        } else if (c == '\'') {
            ++i;
            while (i < s.size()) {
                if (s[i] == '\'') {
                    if (i + 1 < s.size() && s[i + 1] == '\'') { i += 2; continue; }
                    ++i;
                    break;
                }
                ++i;
            }
            out.push_back({Tok::String, std::string(s.substr(start, i - start))});
        } else if (c == '[' || c == '"' || c == '`') {
            char close = c == '[' ? ']' : c;
            ++i;
            while (i < s.size()) {
                if (s[i] == close) {
                    if (close != ']' && i + 1 < s.size() && s[i + 1] == close) { i += 2; continue; }
                    ++i;
                    break;
                }
                ++i;
            }
            out.push_back({Tok::QuotedName, std::string(s.substr(start, i - start))});
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '.')) ++i;
            out.push_back({Tok::Number, std::string(s.substr(start, i - start))});
        } else if (isWordChar(c)) {
            while (i < s.size() && isWordChar(s[i])) ++i;
            out.push_back({Tok::Word, std::string(s.substr(start, i - start))});
        } else {
            static const char* kTwo[] = {"<=", ">=", "<>", "!=", "==", "||", "<<", ">>"};
            std::size_t len = 1;
            for (const char* t : kTwo)
                if (s.substr(i, 2) == t) len = 2;
            i += len;
            out.push_back({Tok::Symbol, std::string(s.substr(start, len))});
        }
    }
    return out;
}

// Cursor over the significant tokens (spaces skipped).
class Cursor {
public:
    explicit Cursor(const std::vector<Token>& t) : t_(t) { Skip(); }
    const Token& Peek() const { static const Token end{Tok::End, ""}; return i_ < t_.size() ? t_[i_] : end; }
    Token Next() { Token t = Peek(); if (i_ < t_.size()) { ++i_; Skip(); } return t; }
    bool Accept(std::string_view word) { if (Peek().Is(word)) { Next(); return true; } return false; }
    bool AcceptSym(std::string_view s) { if (Peek().IsSym(s)) { Next(); return true; } return false; }
    bool AtEnd() const { return i_ >= t_.size() || (Peek().IsSym(";") && RestIsEmpty()); }
    std::size_t Position() const { return i_; }

private:
    void Skip() { while (i_ < t_.size() && t_[i_].kind == Tok::Space) ++i_; }
    bool RestIsEmpty() const {
        for (std::size_t j = i_ + 1; j < t_.size(); ++j)
            if (t_[j].kind != Tok::Space) return false;
        return true;
    }
    const std::vector<Token>& t_;
    std::size_t i_ = 0;
};

bool IsConstraintWord(const Token& t) {
    for (const char* w : {"NOT", "NULL", "PRIMARY", "UNIQUE", "DEFAULT", "CONSTRAINT", "REFERENCES", "CHECK",
                          "COLLATE", "WITH", "AUTOINCREMENT", "GENERATED", "AS"})
        if (t.Is(w)) return true;
    return false;
}

// Text of tokens [from, to) as written.
std::string Join(const std::vector<Token>& t, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to && i < t.size(); ++i) out += t[i].text;
    return out;
}

// The general rewrites every statement gets.
std::vector<Token> GeneralRewrites(std::vector<Token> t) {
    std::vector<Token> out;
    auto nextSignificant = [&](std::size_t i) {
        for (std::size_t j = i + 1; j < t.size(); ++j)
            if (t[j].kind != Tok::Space) return j;
        return t.size();
    };
    bool first = true;
    for (std::size_t i = 0; i < t.size(); ++i) {
        Token tok = t[i];
        if (tok.kind == Tok::Space) { out.push_back(tok); continue; }
        std::size_t n = nextSignificant(i);
        if (tok.IsSym("&")) {
            tok.text = "||";
        } else if ((tok.Is("LEFT") || tok.Is("RIGHT")) && n < t.size() && t[n].IsSym("(")) {
            tok.text = "zv_" + conv::Lower(tok.text);
        } else if (first && tok.Is("DELETE") && n < t.size() && t[n].IsSym("*")) {
            out.push_back(tok);
            i = n;  // drop the "*"
            first = false;
            continue;
        }
        first = false;
        out.push_back(tok);
    }
    return out;
}

std::optional<ColumnSpec> EngineType(const std::vector<std::string>& words, std::optional<int> size) {
    std::string joined;
    for (const auto& w : words) joined += w;
    auto decl = conv::FromDeclaredType(joined);
    if (!decl) return std::nullopt;
    ColumnSpec c;
    c.known = true;
    c.type = decl->type;
    c.size = 0;
    if (c.type == DataType::Text) {
        bool unbounded = conv::FromDeclaredType(joined + "(1)")->size == 0;  // MEMO and kin
        c.size = unbounded ? 0 : size.value_or(255);
    }
    return c;
}

// One column definition: name, type words, optional (n[,m]), then constraints.
std::string TranslateColumnDef(const std::vector<Token>& t, Cursor& c, ColumnSpec& spec) {
    Token name = c.Next();
    spec.name = name.Name();
    std::vector<std::string> words;
    while (c.Peek().kind == Tok::Word && !IsConstraintWord(c.Peek())) words.push_back(c.Next().text);
    std::optional<int> size;
    std::string sizeText;
    if (c.Peek().IsSym("(")) {
        std::size_t from = c.Position();
        c.Next();
        if (c.Peek().kind == Tok::Number) size = std::atoi(c.Peek().text.c_str());
        while (!c.AtEnd() && !c.Peek().IsSym(")")) c.Next();
        c.AcceptSym(")");
        sizeText = Join(t, from, c.Position());
    }
    std::string rest;
    bool hasCollate = false;
    int depth = 0;
    while (!c.AtEnd()) {
        const Token& p = c.Peek();
        if (depth == 0 && (p.IsSym(",") || p.IsSym(")"))) break;
        if (p.IsSym("(")) ++depth;
        if (p.IsSym(")")) --depth;
        if (p.Is("COLLATE")) hasCollate = true;
        if (p.Is("WITH")) {  // Jet's WITH COMPRESSION / WITH COMP
            c.Next();
            c.Next();
            continue;
        }
        rest += " " + c.Next().text;
    }
    auto engine = EngineType(words, size);
    std::string type;
    if (engine) {
        engine->name = spec.name;
        spec = *engine;
        type = SqliteTypeFor(spec);
    } else {
        spec.known = false;
        for (const auto& w : words) type += (type.empty() ? "" : " ") + w;
        type += sizeText;
    }
    std::string def = Quote(spec.name) + (type.empty() ? "" : " " + type) + rest;
    // Text compares as the engine compares it (collation.cpp), in keys and
    // indexes too; document numbers also without trailing blanks.
    if (!hasCollate && spec.type == DataType::Text)
        def += IsDocumentNumberColumn(spec.name) ? " COLLATE RTRIM" : " COLLATE NOCASE";
    return def;
}

std::vector<std::string> NameList(Cursor& c) {
    std::vector<std::string> names;
    if (!c.AcceptSym("(")) return names;
    while (!c.AtEnd() && !c.Peek().IsSym(")")) {
        Token t = c.Next();
        if (t.IsName()) names.push_back(t.Name());
        while (!c.AtEnd() && !c.Peek().IsSym(",") && !c.Peek().IsSym(")")) c.Next();  // ASC/DESC
        c.AcceptSym(",");
    }
    c.AcceptSym(")");
    return names;
}

std::string IndexSql(bool unique, const std::string& index, const std::string& table,
                     const std::vector<std::string>& cols) {
    std::string sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + Quote(index) + " ON " +
                      Quote(table) + " (";
    for (std::size_t i = 0; i < cols.size(); ++i) sql += (i ? ", " : "") + Quote(cols[i]);
    return sql + ")";
}

std::optional<Statement> CreateTable(const std::vector<Token>& t, Cursor& c) {
    Statement st;
    st.kind = Statement::Kind::CreateTable;
    if (c.Accept("IF")) {
        c.Accept("NOT");
        c.Accept("EXISTS");
        st.ifNotExists = true;
    }
    st.table = c.Next().Name();
    if (!c.AcceptSym("(")) return std::nullopt;
    std::string defs;
    while (!c.AtEnd() && !c.Peek().IsSym(")")) {
        const Token& p = c.Peek();
        std::string def;
        if (p.Is("CONSTRAINT") || p.Is("PRIMARY") || p.Is("UNIQUE") || p.Is("FOREIGN") || p.Is("CHECK")) {
            std::size_t from = c.Position();
            int depth = 0;
            while (!c.AtEnd()) {
                if (depth == 0 && (c.Peek().IsSym(",") || c.Peek().IsSym(")"))) break;
                if (c.Peek().IsSym("(")) ++depth;
                if (c.Peek().IsSym(")")) --depth;
                c.Next();
            }
            def = Join(t, from, c.Position());
        } else {
            ColumnSpec spec;
            def = TranslateColumnDef(t, c, spec);
            st.columns.push_back(spec);
        }
        defs += (defs.empty() ? "" : ", ") + def;
        c.AcceptSym(",");
    }
    if (!c.AcceptSym(")")) return std::nullopt;
    st.sql = std::string("CREATE TABLE ") + (st.ifNotExists ? "IF NOT EXISTS " : "") + Quote(st.table) + " (" + defs + ")";
    return st;
}

std::optional<Statement> AlterTable(const std::vector<Token>& t, Cursor& c) {
    Statement st;
    st.table = c.Next().Name();
    if (c.Accept("ADD")) {
        if (c.Accept("CONSTRAINT")) {
            st.indexName = c.Next().Name();
            if (c.Accept("PRIMARY")) {
                c.Accept("KEY");
                st.kind = Statement::Kind::AddPrimaryKey;
                st.keyColumns = NameList(c);
                st.sql = IndexSql(true, st.indexName, st.table, st.keyColumns);
                return st;
            }
            if (c.Accept("UNIQUE")) {
                st.schemaWords = true;
                st.sql = IndexSql(true, st.indexName, st.table, NameList(c));
                return st;
            }
            return std::nullopt;
        }
        if (c.Peek().Is("PRIMARY")) {
            c.Next();
            c.Accept("KEY");
            st.kind = Statement::Kind::AddPrimaryKey;
            st.indexName = "PrimaryKey_" + st.table;
            st.keyColumns = NameList(c);
            st.sql = IndexSql(true, st.indexName, st.table, st.keyColumns);
            return st;
        }
        c.Accept("COLUMN");
        ColumnSpec spec;
        std::string def = TranslateColumnDef(t, c, spec);
        st.kind = Statement::Kind::AddColumn;
        st.columns.push_back(spec);
        st.sql = "ALTER TABLE " + Quote(st.table) + " ADD COLUMN " + def;
        return st;
    }
    if (c.Accept("DROP")) {
        if (c.Accept("CONSTRAINT")) {
            st.schemaWords = true;
            st.sql = "DROP INDEX " + Quote(c.Next().Name());
            return st;
        }
        c.Accept("COLUMN");
        ColumnSpec spec;
        spec.name = c.Next().Name();
        st.kind = Statement::Kind::DropColumn;
        st.columns.push_back(spec);
        st.sql = "ALTER TABLE " + Quote(st.table) + " DROP COLUMN " + Quote(spec.name);
        return st;
    }
    return std::nullopt;
}

std::optional<Statement> CreateIndex(Cursor& c, bool unique) {
    Statement st;
    st.indexName = c.Next().Name();
    if (!c.Accept("ON")) return std::nullopt;
    st.table = c.Next().Name();
    st.keyColumns = NameList(c);
    bool primary = false;
    if (c.Accept("WITH")) {
        while (!c.AtEnd()) {
            Token w = c.Next();
            if (w.Is("PRIMARY")) primary = true;
        }
    }
    if (primary) {
        st.kind = Statement::Kind::AddPrimaryKey;
        unique = true;
    } else {
        st.schemaWords = true;
    }
    st.sql = IndexSql(unique, st.indexName, st.table, st.keyColumns);
    return st;
}

}  // namespace

bool IsDocumentNumberColumn(std::string_view column) {
    return conv::EqualsIgnoringCase(column, "doc_id_d") || conv::EqualsIgnoringCase(column, "Num_RUCEmpl");
}

std::string SqliteTypeFor(const ColumnSpec& c) {
    switch (c.type) {
        case DataType::Text: return c.size > 0 ? "VARCHAR(" + std::to_string(c.size) + ")" : "TEXT";
        case DataType::Byte: return "TINYINT";
        case DataType::Integer: return "SMALLINT";
        case DataType::Long: return "INTEGER";
        case DataType::Double: return "DOUBLE";
        case DataType::Currency: return "CURRENCY";
        case DataType::Date: return "DATETIME";
        case DataType::Boolean: return "BIT";
        case DataType::Null: break;
    }
    return "";
}

std::string Quote(std::string_view identifier) {
    std::string out = "\"";
    for (char ch : identifier) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

Statement Translate(std::string_view jetSql) {
    std::vector<Token> tokens = GeneralRewrites(Tokenize(jetSql));
    Statement plain;
    plain.sql = Join(tokens, 0, tokens.size());
    Cursor c(tokens);
    std::optional<Statement> special;
    if (c.Accept("CREATE")) {
        if (c.Accept("TABLE")) special = CreateTable(tokens, c);
        else if (c.Accept("UNIQUE")) { if (c.Accept("INDEX")) special = CreateIndex(c, true); }
        else if (c.Accept("INDEX")) special = CreateIndex(c, false);
        plain.schemaWords = true;
    } else if (c.Accept("ALTER")) {
        if (c.Accept("TABLE")) special = AlterTable(tokens, c);
        plain.schemaWords = true;
    } else if (c.Accept("DROP")) {
        plain.schemaWords = true;
        if (c.Accept("TABLE")) {
            Statement st;
            st.kind = Statement::Kind::DropTable;
            if (c.Accept("IF")) {
                c.Accept("EXISTS");
                st.ifNotExists = true;  // here: "if exists"
            }
            st.table = c.Peek().Name();
            st.sql = plain.sql;
            special = st;
        } else if (c.Accept("INDEX")) {
            Statement st;
            st.schemaWords = true;
            st.sql = "DROP INDEX " + Quote(c.Next().Name());  // "ON table" of the old dialect dropped
            special = st;
        }
    }
    return special ? *special : plain;
}

}  // namespace dao::jetsql
