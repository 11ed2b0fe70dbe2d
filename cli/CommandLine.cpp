#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ranges>

namespace {

// What CLI11 gives a value option that met no value: a NUL, which no
// argument of a real command line can hold.
const std::string NoValue(1, '\0');

// "--name=value" names "--name"; anything else names itself.
std::string optionName(const std::string &arg)
{
    return arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg;
}

// The flag among `args` given a value with "=": CLI11 says only that some
// flag was, so the name is taken from the line itself.
std::string flagGivenAValue(
    const std::vector<std::string> &args, const std::vector<OptionSpec> &options)
{
    for (const std::string &arg : args) {
        const std::string name = optionName(arg);
        const bool isFlag = std::ranges::any_of(
            options, [&](const OptionSpec &o) { return o.name == name && o.valueName.empty(); });
        if (isFlag && name != arg)
            return name;
    }
    return {};
}

} // namespace

void CommandLine::addOption(OptionSpec option)
{
    options_.push_back(std::move(option));
}

void CommandLine::parse(const std::vector<std::string> &args,
    const std::function<void(const std::string &)> &positional) const
{
    CLI::App app;
    app.set_help_flag(); // --help is an option of the table like any other
    app.allow_extras(); // options the table lacks are named in Japanese below
    std::vector<std::string> arguments;
    app.add_option("ARGUMENTS", arguments);
    std::vector<CLI::Option *> bound;
    for (const OptionSpec &entry : options_) {
        // A value option takes zero or one value, so a missing one is told in
        // Japanese rather than by CLI11; the last of repeated options wins.
        bound.push_back(entry.valueName.empty()
                ? app.add_flag(entry.name)->disable_flag_override()
                : app.add_option(entry.name)
                      ->expected(0, 1)
                      ->default_str(NoValue)
                      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast));
    }
    // "--" ends the options; what follows it is positional whatever it looks
    // like, which CLI11 alone does not do when no positional came before.
    const auto mark = std::ranges::find(args, std::string("--"));
    try {
        std::vector<std::string> reversed(std::make_reverse_iterator(mark), args.rend());
        app.parse(std::move(reversed));
    } catch (const CLI::ArgumentMismatch &) {
        throw UsageError("オプション '" + flagGivenAValue(args, options_) + "' は値をとりません");
    } catch (const CLI::ParseError &error) {
        throw UsageError(error.what());
    }
    if (const std::vector<std::string> extras = app.remaining(); !extras.empty())
        throw UnknownOptionError("オプション '" + optionName(extras.front()) + "' はありません");
    for (std::size_t k = 0; k < options_.size(); ++k) {
        const OptionSpec &entry = options_[k];
        if (bound[k]->count() == 0)
            continue;
        const std::vector<std::string> values = bound[k]->results();
        if (!entry.valueName.empty() && (values.empty() || values.back() == NoValue))
            throw UsageError("オプション '" + entry.name + "' の後に " + entry.valueName
                + " を指定してください");
        entry.apply(entry.valueName.empty() ? std::string() : values.back());
    }
    for (const std::string &arg : arguments)
        positional(arg);
    if (mark != args.end())
        std::ranges::for_each(mark + 1, args.end(), positional);
}

std::string CommandLine::optionsHelp() const
{
    std::string text;
    for (const OptionSpec &option : options_) {
        std::string head = "  " + option.name;
        if (!option.valueName.empty())
            head += " " + option.valueName;
        head.resize(std::max<std::size_t>(head.size() + 1, 26), ' ');
        text += head + option.help + "\n";
    }
    return text;
}
