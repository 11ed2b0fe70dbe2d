#include "core/CellBlock.h"

#include <algorithm>

namespace {

bool endsCell(std::string_view text, std::size_t p)
{
    return p == text.size() || text[p] == '\t' || text[p] == '\r' || text[p] == '\n';
}

// Reads the quoted cell at `p` (a double quote) into `cell` and returns the
// position after its closing quote, or npos when the quotes do not close
// right before the end of a cell.
std::size_t readQuoted(std::string_view text, std::size_t p, std::string &cell)
{
    cell.clear();
    for (++p; p < text.size(); ++p) {
        if (text[p] != '"') {
            cell += text[p];
        } else if (p + 1 < text.size() && text[p + 1] == '"') {
            cell += '"';
            ++p;
        } else {
            return endsCell(text, p + 1) ? p + 1 : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

std::size_t readCell(std::string_view text, std::size_t p, std::string &cell)
{
    if (p < text.size() && text[p] == '"') {
        const std::size_t end = readQuoted(text, p, cell);
        if (end != std::string_view::npos)
            return end;
    }
    std::size_t end = p;
    while (!endsCell(text, end))
        ++end;
    cell.assign(text.substr(p, end - p));
    return end;
}

bool needsQuotes(const std::string &cell)
{
    return cell.find_first_of("\t\r\n\"") != std::string::npos;
}

} // namespace

bool IsCellBlockText(std::string_view text)
{
    return text.find_first_of("\t\r\n") != std::string_view::npos;
}

CellBlock SplitCellBlock(std::string_view text)
{
    CellBlock block;
    std::vector<std::string> row;
    std::size_t p = 0;
    while (p < text.size()) {
        std::string cell;
        p = readCell(text, p, cell);
        row.push_back(std::move(cell));
        if (p < text.size() && text[p] == '\t') {
            ++p;
            if (p < text.size())
                continue;
            row.emplace_back(); // a tab at the very end leaves an empty last cell
        } else if (p < text.size()) {
            p += text.compare(p, 2, "\r\n") == 0 ? 2 : 1;
        }
        block.push_back(std::move(row));
        row.clear();
    }
    return block;
}

std::string CellBlockText(const CellBlock &block)
{
    std::string text;
    for (const std::vector<std::string> &row : block) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            if (!needsQuotes(row[c])) {
                text += row[c];
                continue;
            }
            text += '"';
            for (const char ch : row[c])
                text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            text += '"';
        }
        text += "\r\n";
    }
    return text;
}

CellBlock TableBlock(const InputTable &table, int i, int j, int rows, int cols)
{
    CellBlock block(static_cast<std::size_t>(std::max(rows, 0)));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            block[static_cast<std::size_t>(r)].push_back(table.text(i + r, j + c));
    return block;
}
