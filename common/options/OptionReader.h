#pragma once
// Reads the command line of a tool in the program folder: long options written
// "--name value" or "--name=value", flags written "--name", and the words that are neither.
// What an option means and which values it takes stay with each tool.
//
// A word with a single dash ("-x", "-") is never an option: it is a word, or the value of
// the option before it. "--" ends the options only where the tool says so; elsewhere it is a
// word too. A value may itself start with "--" ("--name --ebook" gives the name "--ebook").

#include <optional>
#include <string>
#include <vector>

namespace vestrel {

struct OptionSpec {
    std::string name;  // without the dashes
    bool takesValue = true;
};

struct GivenOption {
    std::string name;   // without the dashes
    std::string value;  // empty for a flag
};

struct GivenCommandLine {
    std::vector<GivenOption> options;  // in the order given; one given twice is here twice
    std::vector<std::string> words;    // in the order given
};

enum class DoubleDash { EndsOptions, IsAWord };

// Nothing, with `error` set, for an unknown option ("unknown option --x"), an option
// without its value ("--x needs a value") or a flag given a value ("--x takes no value").
// Arguments are bytes: a file name that is not UTF-8 comes back unchanged.
std::optional<GivenCommandLine> ReadOptions(int argc, const char* const* argv, const std::vector<OptionSpec>& known,
                                            DoubleDash doubleDash, std::string& error);

// The same reading for a program that refuses nothing: unknown options, an option without
// its value and a flag given a value are left out; "--" is a word.
GivenCommandLine ReadKnownOptions(int argc, const char* const* argv, const std::vector<OptionSpec>& known);

}  // namespace vestrel
