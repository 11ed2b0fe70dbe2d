#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line the user got wrong; what() is the Japanese explanation.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An option the table does not hold: the one mistake a fuller tool, with more
// options, may not make.
class UnknownOptionError : public UsageError {
public:
    using UsageError::UsageError;
};

// One option: "--name VALUE", "--name=VALUE" or, without a value name, a
// flag. `apply` receives the value (empty for a flag) and may throw
// UsageError for a value it does not accept.
struct OptionSpec {
    std::string name; // "--dims", "-o"
    std::string valueName; // "N"; empty for a flag
    std::string help; // one line of help, Japanese / English
    std::function<void(const std::string &value)> apply;
};

// A table of options that several parts of a tool can add to, and the reader
// of one command line against it. CLI11 splits the arguments ("--" ends the
// options, "-1" is a value, not an option); this class keeps the table, says
// every mistake in Japanese and writes the help lines. Options are applied in
// the order of the table, after the whole line has been read.
class CommandLine {
public:
    void addOption(OptionSpec option);

    // Applies every option given and hands each other argument, in order, to
    // `positional`. Throws UsageError (UnknownOptionError for an option the
    // table lacks).
    void parse(const std::vector<std::string> &args,
        const std::function<void(const std::string &)> &positional) const;

    // One line per option: the name, its value name and its help.
    std::string optionsHelp() const;

private:
    std::vector<OptionSpec> options_;
};
