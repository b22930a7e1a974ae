#pragma once
// The little language of wimbrel-script, one statement a line ('#' starts a comment):
//
//   client = create Wimbrel.FaxClientX        make an object by ProgID
//   client.OpenConnectionEx(&cid, "127.0.0.1", 4600, "alice", "secret", 1)
//                                             call a method; &name receives an out-value
//   task.AddCalled("010-1234", cid)           a name alone passes a value or object held
//   n = task.Count                            read a property into a name
//   task.Count                                read a property and print it
//   result.TaskId = 7                         write a property
//
// Arguments: integers, decimal numbers, "text" (escapes \" \\ \n \t), names, &names.

#include <optional>
#include <string>
#include <vector>

namespace vestrel::wimbrelscript {

struct Argument {
    enum class Kind { Integer, Number, Text, Name, OutName };
    Kind kind = Kind::Integer;
    long long integer = 0;
    double number = 0;
    std::string text;  // the text, or the name
};

struct Statement {
    enum class Kind { Create, Call, Get, Put };
    Kind kind = Kind::Call;
    int line = 0;
    std::string target;   // the name assigned (Create, and Get into a name); empty otherwise
    std::string object;   // the object's name
    std::string member;
    std::string progId;   // Create
    std::vector<Argument> arguments;  // Call: all; Put: the one new value
};

struct ParseError {
    int line = 0;
    std::string message;
};

// The statements of a script, or the first error.
bool ParseScript(const std::string& source, std::vector<Statement>& statements, ParseError& error);

}  // namespace vestrel::wimbrelscript
