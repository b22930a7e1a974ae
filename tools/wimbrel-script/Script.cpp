#include "Script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace vestrel::wimbrelscript {
namespace {

struct Token {
    enum class Kind { Name, Integer, Number, Text, Symbol, End };
    Kind kind = Kind::End;
    std::string text;
    long long integer = 0;
    double number = 0;
};

class Lexer {
public:
    explicit Lexer(const std::string& line) : line_(line) {}

    bool Next(Token& token, std::string& error)
    {
        while (pos_ < line_.size() && std::isspace(static_cast<unsigned char>(line_[pos_])))
            ++pos_;
        token = Token{};
        if (pos_ >= line_.size() || line_[pos_] == '#')
            return true;  // End
        const char c = line_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const std::size_t start = pos_;
            while (pos_ < line_.size() &&
                   (std::isalnum(static_cast<unsigned char>(line_[pos_])) || line_[pos_] == '_'))
                ++pos_;
            token.kind = Token::Kind::Name;
            token.text = line_.substr(start, pos_ - start);
            return true;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '+') && pos_ + 1 < line_.size() &&
                                                             std::isdigit(static_cast<unsigned char>(line_[pos_ + 1])))) {
            return Number(token, error);
        }
        if (c == '"')
            return Text(token, error);
        if (c == '(' || c == ')' || c == ',' || c == '=' || c == '&' || c == '.') {
            token.kind = Token::Kind::Symbol;
            token.text = std::string(1, c);
            ++pos_;
            return true;
        }
        error = std::string("unexpected character '") + c + "'";
        return false;
    }

    // The rest of the line without surrounding blanks or a comment.
    std::string Rest()
    {
        std::string rest = line_.substr(pos_);
        if (const auto hash = rest.find('#'); hash != std::string::npos)
            rest.erase(hash);
        const auto first = rest.find_first_not_of(" \t\r");
        const auto last = rest.find_last_not_of(" \t\r");
        pos_ = line_.size();
        return first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
    }

private:
    bool Number(Token& token, std::string& error)
    {
        const char* begin = line_.c_str() + pos_;
        char* end = nullptr;
        errno = 0;
        const long long integer = std::strtoll(begin, &end, 10);
        if (*end == '.' || *end == 'e' || *end == 'E') {
            errno = 0;
            token.number = std::strtod(begin, &end);
            token.kind = Token::Kind::Number;
        } else {
            if (errno == ERANGE || integer < std::numeric_limits<int32_t>::min() ||
                integer > std::numeric_limits<int32_t>::max()) {
                error = "number out of range: " + std::string(begin, static_cast<std::size_t>(end - begin));
                return false;
            }
            token.integer = integer;
            token.kind = Token::Kind::Integer;
        }
        pos_ += static_cast<std::size_t>(end - begin);
        return true;
    }

    bool Text(Token& token, std::string& error)
    {
        token.kind = Token::Kind::Text;
        for (++pos_; pos_ < line_.size(); ++pos_) {
            char c = line_[pos_];
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\' && pos_ + 1 < line_.size()) {
                c = line_[++pos_];
                if (c == 'n')
                    c = '\n';
                else if (c == 't')
                    c = '\t';
                else if (c != '"' && c != '\\') {
                    error = std::string("unknown escape \\") + c;
                    return false;
                }
            }
            token.text += c;
        }
        error = "text without its closing quote";
        return false;
    }

    const std::string& line_;
    std::size_t pos_ = 0;
};

bool IsSymbol(const Token& token, char symbol)
{
    return token.kind == Token::Kind::Symbol && token.text[0] == symbol;
}

bool ParseArgument(Lexer& lexer, Token& token, Argument& argument, std::string& error)
{
    switch (token.kind) {
    case Token::Kind::Integer: argument.kind = Argument::Kind::Integer; argument.integer = token.integer; break;
    case Token::Kind::Number: argument.kind = Argument::Kind::Number; argument.number = token.number; break;
    case Token::Kind::Text: argument.kind = Argument::Kind::Text; argument.text = token.text; break;
    case Token::Kind::Name: argument.kind = Argument::Kind::Name; argument.text = token.text; break;
    default:
        if (!IsSymbol(token, '&')) {
            error = "an argument was expected";
            return false;
        }
        if (!lexer.Next(token, error))
            return false;
        if (token.kind != Token::Kind::Name) {
            error = "a name must follow &";
            return false;
        }
        argument.kind = Argument::Kind::OutName;
        argument.text = token.text;
        break;
    }
    return lexer.Next(token, error);
}

bool ParseLine(const std::string& line, std::optional<Statement>& statement, std::string& error)
{
    Lexer lexer(line);
    Token token;
    if (!lexer.Next(token, error))
        return false;
    if (token.kind == Token::Kind::End)
        return true;  // blank or comment
    if (token.kind != Token::Kind::Name) {
        error = "a statement starts with a name";
        return false;
    }
    Statement s;
    std::string first = token.text;
    if (!lexer.Next(token, error))
        return false;
    if (IsSymbol(token, '=')) {
        s.target = first;
        if (!lexer.Next(token, error))
            return false;
        if (token.kind == Token::Kind::Name && token.text == "create") {
            s.kind = Statement::Kind::Create;
            s.progId = lexer.Rest();
            if (s.progId.empty()) {
                error = "create needs a ProgID";
                return false;
            }
            statement = s;
            return true;
        }
        if (token.kind != Token::Kind::Name) {
            error = "expected create or object.Property after =";
            return false;
        }
        first = token.text;
        if (!lexer.Next(token, error))
            return false;
        if (!IsSymbol(token, '.')) {
            error = "expected object.Property after =";
            return false;
        }
        s.kind = Statement::Kind::Get;
    } else if (!IsSymbol(token, '.')) {
        error = "expected name = ... or object.Member";
        return false;
    }
    s.object = first;
    if (!lexer.Next(token, error))
        return false;
    if (token.kind != Token::Kind::Name) {
        error = "a member name must follow the dot";
        return false;
    }
    s.member = token.text;
    if (!lexer.Next(token, error))
        return false;
    if (s.kind == Statement::Kind::Get) {
        // n = object.Property
    } else if (token.kind == Token::Kind::End) {
        s.kind = Statement::Kind::Get;
    } else if (IsSymbol(token, '=')) {
        s.kind = Statement::Kind::Put;
        if (!lexer.Next(token, error))
            return false;
        Argument value;
        if (!ParseArgument(lexer, token, value, error))
            return false;
        if (value.kind == Argument::Kind::OutName) {
            error = "a property takes a value, not &name";
            return false;
        }
        s.arguments.push_back(value);
    } else if (IsSymbol(token, '(')) {
        s.kind = Statement::Kind::Call;
        if (!lexer.Next(token, error))
            return false;
        while (!IsSymbol(token, ')')) {
            Argument argument;
            if (!ParseArgument(lexer, token, argument, error))
                return false;
            s.arguments.push_back(argument);
            if (IsSymbol(token, ',')) {
                if (!lexer.Next(token, error))
                    return false;
            } else if (!IsSymbol(token, ')')) {
                error = "expected , or ) after an argument";
                return false;
            }
        }
        if (!lexer.Next(token, error))
            return false;
    } else {
        error = "expected (, = or the end of the line after the member";
        return false;
    }
    if (token.kind != Token::Kind::End) {
        error = "unexpected text at the end of the line";
        return false;
    }
    statement = s;
    return true;
}

}  // namespace

bool ParseScript(const std::string& source, std::vector<Statement>& statements, ParseError& error)
{
    statements.clear();
    std::istringstream in(source);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::optional<Statement> statement;
        if (!ParseLine(line, statement, error.message)) {
            error.line = number;
            return false;
        }
        if (statement) {
            statement->line = number;
            statements.push_back(std::move(*statement));
        }
    }
    return true;
}

}  // namespace vestrel::wimbrelscript
