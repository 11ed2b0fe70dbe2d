#include "core/McaScores.h"

#include "core/FileIo.h"
#include "core/TextCoding.h"

#include <charconv>

namespace {

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n \t") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string McaScoresBytes(const McaResult &result, FileEncoding encoding)
{
    const McaSolution &s = result.solution();
    const auto dims = static_cast<std::size_t>(s.dims);
    std::string text = "ID";
    for (std::size_t d = 1; d <= dims; ++d)
        text += ",次元" + std::to_string(d);
    text += "\r\n";
    text.reserve(result.ids().size() * (12 + 24 * dims));
    char buffer[32];
    for (std::size_t i = 0; i < result.ids().size(); ++i) {
        text += csvField(result.ids()[i]);
        for (std::size_t d = 0; d < dims; ++d) {
            const auto end = std::to_chars(
                buffer, buffer + sizeof buffer, static_cast<double>(s.score[i * dims + d]));
            text += ',';
            text.append(buffer, end.ptr);
        }
        text += "\r\n";
    }
    return EncodeTextFile(text, encoding);
}

void WriteMcaScores(const McaResult &result, const std::string &fileName, FileEncoding encoding)
{
    const std::string bytes = McaScoresBytes(result, encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}
