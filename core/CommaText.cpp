#include "core/CommaText.h"

namespace {

bool isBlank(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads the quoted field that begins at `pos` (on its opening quote) and
// leaves `pos` after its closing quote, or at the end of the line.
std::string extractQuoted(std::string_view line, std::size_t &pos)
{
    std::string field;
    ++pos;
    while (pos < line.size()) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos)
            break;
        field.append(line.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos < line.size() && line[pos] == '"') {
            field += '"';
            ++pos;
        } else {
            return field;
        }
    }
    field.append(line.substr(pos));
    pos = line.size();
    return field;
}

bool needsQuotes(const std::string &field)
{
    for (const char c : field)
        if (isBlank(c) || c == ',' || c == '"')
            return true;
    return false;
}

std::string quoted(const std::string &field)
{
    std::string out = "\"";
    for (const char c : field) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

} // namespace

std::vector<std::string> SplitCommaText(std::string_view line)
{
    line = line.substr(0, line.find('\0'));
    std::vector<std::string> fields;
    std::size_t pos = 0;
    const auto skipBlanks = [&]() {
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
    };
    skipBlanks();
    while (pos < line.size()) {
        if (line[pos] == '"') {
            fields.push_back(extractQuoted(line, pos));
        } else {
            const std::size_t start = pos;
            while (pos < line.size() && !isBlank(line[pos]) && line[pos] != ',')
                ++pos;
            fields.emplace_back(line.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < line.size() && line[pos] == ',') {
            if (pos + 1 == line.size())
                fields.emplace_back();
            ++pos;
            skipBlanks();
        }
    }
    return fields;
}

std::string JoinCommaText(const std::vector<std::string> &fields)
{
    std::string line;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k > 0)
            line += ',';
        const bool loneEmpty = fields.size() == 1 && fields[k].empty();
        line += (loneEmpty || needsQuotes(fields[k])) ? quoted(fields[k]) : fields[k];
    }
    return line;
}
