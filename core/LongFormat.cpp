#include "core/LongFormat.h"

#include "core/CoreErrors.h"
#include "core/FileIo.h"
#include "core/IntConversion.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"
#include "core/TextCoding.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// At most this many names are quoted in a warning; a word table may have
// thousands without a count.
constexpr std::size_t NamesShown = 10;

std::string lineText(int line)
{
    return "縦長形式のデータファイルの " + std::to_string(line) + " 行目";
}

// The first three fields of a line, split at commas only; a quoted field
// runs to its closing quote (or the line's end) and reads "" as one quote.
// Returns how many fields the line has, counting at most three.
int splitFields(std::string_view line, std::string (&fields)[3])
{
    std::size_t pos = 0;
    for (int k = 0; k < 3; ++k) {
        std::string &field = fields[k];
        field.clear();
        if (pos < line.size() && line[pos] == '"') {
            ++pos;
            while (pos < line.size()) {
                if (line[pos] != '"') {
                    field += line[pos++];
                } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
                    field += '"';
                    pos += 2;
                } else {
                    ++pos;
                    break;
                }
            }
            // Text between the closing quote and the comma belongs to the field.
            const std::size_t comma = line.find(',', pos);
            field.append(line.substr(pos, comma - pos));
            pos = comma;
        } else {
            const std::size_t comma = line.find(',', pos);
            field.assign(line.substr(pos, comma - pos));
            pos = comma;
        }
        if (pos == std::string_view::npos)
            return k + 1;
        ++pos;
    }
    return 3;
}

std::int32_t readCount(const std::string &text, int line)
{
    if (text.empty())
        throw InputError(lineText(line) + "の度数が空です");
    // Pipelines write plain ASCII digits: read up to nine of them at once,
    // the grid's rules for anything else (full-width digits, signs, blanks).
    if (text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        std::int32_t value = 0;
        for (const char c : text)
            value = value * 10 + (c - '0');
        return value;
    }
    std::int32_t count = 0;
    try {
        count = StrToInt32Typed(text);
    } catch (const ConvertError &) {
        throw InputError(lineText(line) + "の度数 '" + text + "' は整数ではありません");
    }
    if (count < 0)
        throw InputError(lineText(line) + "の度数 '" + text + "' が負です");
    return count;
}

// The index of `name` among `names`, which it joins when new; `what` is "行"
// or "列", for the message when the names would pass the limit.
std::int32_t indexOf(const std::string &name, std::vector<std::string> &names,
    std::unordered_map<std::string, std::int32_t> &index, const char *what, int line)
{
    if (name.empty())
        throw InputError(lineText(line) + "の" + what + "の名前が空です");
    const auto [at, isNew] = index.try_emplace(name, static_cast<std::int32_t>(names.size()));
    if (isNew) {
        if (names.size() >= static_cast<std::size_t>(MaxTableSide))
            throw InputError(lineText(line) + "で" + what + "の数が "
                + std::to_string(names.size() + 1) + " になり、上限の "
                + std::to_string(MaxTableSide) + " を超えます");
        names.push_back(name);
    }
    return at->second;
}

// Where each (row, column) pair sits in the cell list: open addressing with
// linear probing over one flat array, since millions of small nodes of a
// std::unordered_map cost more in allocation and cache misses than the
// lookups themselves.
class CellIndex {
public:
    explicit CellIndex(std::size_t expected)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * expected)
            capacity *= 2;
        resize(capacity);
    }

    // The position stored for `key`, or `position` stored and returned
    // with true when the key is new.
    std::pair<std::size_t, bool> findOrInsert(std::uint64_t key, std::size_t position)
    {
        if (2 * (size_ + 1) > slots_.size())
            grow();
        Slot &slot = probe(key);
        if (slot.stored != 0)
            return { slot.position, false };
        slot = { key + 1, position };
        ++size_;
        return { position, true };
    }

private:
    struct Slot {
        std::uint64_t stored = 0; // key + 1; 0 marks an empty slot
        std::size_t position = 0;
    };

    Slot &probe(std::uint64_t key)
    {
        const std::size_t mask = slots_.size() - 1;
        // Fibonacci hashing: the product's top bits, where row and column mix.
        std::size_t k = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> shift_);
        while (slots_[k].stored != 0 && slots_[k].stored != key + 1)
            k = (k + 1) & mask;
        return slots_[k];
    }

    void resize(std::size_t capacity)
    {
        slots_.assign(capacity, Slot{});
        shift_ = 64;
        for (std::size_t c = capacity; c > 1; c /= 2)
            --shift_;
    }

    void grow()
    {
        std::vector<Slot> old = std::move(slots_);
        resize(2 * old.size());
        for (const Slot &slot : old)
            if (slot.stored != 0)
                probe(slot.stored - 1) = slot;
    }

    std::vector<Slot> slots_;
    int shift_ = 64; // 64 - log2 of the capacity
    std::size_t size_ = 0;
};

class LongReader {
public:
    // Room for `cells` cells, so that a file of millions of lines is read
    // without rehashing.
    explicit LongReader(std::size_t cells)
        : cellIndex_(cells)
    {
        table_.cells.reserve(cells);
    }

    void readLine(std::string_view text, int line)
    {
        if (text.empty())
            return;
        if (splitFields(text, fields_) < 3)
            throw InputError(
                lineText(line) + "に、行の名前、列の名前、度数の 3 つの欄がありません");
        const std::int32_t row = indexOf(fields_[0], table_.rowNames, rowIndex_, "行", line);
        const std::int32_t col = indexOf(fields_[1], table_.colNames, colIndex_, "列", line);
        const std::int32_t count = readCount(fields_[2], line);
        const std::uint64_t key
            = (static_cast<std::uint64_t>(row) << 32) | static_cast<std::uint32_t>(col);
        const auto [at, isNew] = cellIndex_.findOrInsert(key, table_.cells.size());
        if (isNew) {
            if (table_.cells.size() >= static_cast<std::size_t>(MaxTableCells))
                throw InputError(lineText(line) + "で欄の数が "
                    + std::to_string(table_.cells.size() + 1) + " になり、上限の "
                    + std::to_string(MaxTableCells) + " を超えます");
            table_.cells.push_back({ row, col, count });
            return;
        }
        LongCell &cell = table_.cells[at];
        const std::int64_t sum = std::int64_t{ cell.count } + count;
        if (sum > std::numeric_limits<std::int32_t>::max())
            throw InputError(lineText(line) + "で、行 '" + fields_[0] + "'、列 '" + fields_[1]
                + "' の度数の合計が " + std::to_string(std::numeric_limits<std::int32_t>::max())
                + " を超えます");
        cell.count = static_cast<std::int32_t>(sum);
    }

    LongTable take()
    {
        if (table_.cells.empty())
            throw InputError("縦長形式のデータファイルに度数の行がありません (1 行目は見出しです)");
        return std::move(table_);
    }

private:
    LongTable table_;
    std::unordered_map<std::string, std::int32_t> rowIndex_;
    std::unordered_map<std::string, std::int32_t> colIndex_;
    CellIndex cellIndex_;
    std::string fields_[3];
};

// "度数のない行が 2 個あります: 'a', 'b'", the names with no count among
// `names`, the first NamesShown of them quoted.
void warnNoCount(const std::vector<std::string> &names, const std::vector<bool> &counted,
    const char *what, std::vector<std::string> &warnings)
{
    std::string quoted;
    std::size_t missing = 0;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (counted[k])
            continue;
        if (++missing <= NamesShown)
            quoted += (missing == 1 ? "'" : ", '") + names[k] + "'";
    }
    if (missing == 0)
        return;
    if (missing > NamesShown)
        quoted += " ほか";
    warnings.push_back(std::string("度数のない") + what + "が " + std::to_string(missing)
        + " 個あります: " + quoted);
}

} // namespace

LongTable ReadLongData(std::string_view fileBytes)
{
    const std::string text = DecodeTextFile(fileBytes);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    LongReader reader(std::min(lines, static_cast<std::size_t>(MaxTableCells)));
    std::string corner;
    std::size_t start = 0;
    int line = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = (end == std::string::npos) ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        // The first line is the header; its first field may hold marks.
        if (++line > 1) {
            reader.readLine(std::string_view(text).substr(start, end - start), line);
        } else {
            std::string fields[3];
            splitFields(std::string_view(text).substr(start, end - start), fields);
            corner = std::move(fields[0]);
        }
        start = next;
    }
    LongTable table = reader.take();
    table.corner = std::move(corner);
    return table;
}

LongTable LoadLongDataFile(const std::string &fileName)
{
    return ReadLongData(ReadDataFileBytes(fileName));
}

std::vector<std::string> NoCountWarnings(const LongTable &table)
{
    std::vector<bool> rowCounted(table.rowNames.size());
    std::vector<bool> colCounted(table.colNames.size());
    for (const LongCell &cell : table.cells)
        if (cell.count > 0) {
            rowCounted[static_cast<std::size_t>(cell.row)] = true;
            colCounted[static_cast<std::size_t>(cell.col)] = true;
        }
    std::vector<std::string> warnings;
    warnNoCount(table.rowNames, rowCounted, "行", warnings);
    warnNoCount(table.colNames, colCounted, "列", warnings);
    return warnings;
}

SupplementaryMarks LongTableMarks(const LongTable &table, std::vector<std::string> &warnings)
{
    const CornerMark mark = ReadSupplementaryMark(table.corner,
        static_cast<int>(table.rowNames.size()), static_cast<int>(table.colNames.size()));
    if (!mark.isMark)
        return {};
    if (!mark.marks) {
        warnings.push_back(UnreadableMarkWarning(table.corner));
        return {};
    }
    return *mark.marks;
}

LoadedTable LongTableToGrid(const LongTable &table)
{
    const auto rows = static_cast<int>(table.rowNames.size());
    const auto cols = static_cast<int>(table.colNames.size());
    RefuseOversizedTable(rows, cols);
    LoadedTable loaded;
    loaded.table = InputTable(rows, cols);
    InputTable &grid = loaded.table;
    for (int i = 1; i <= rows; ++i)
        grid.setText(i, 0, table.rowNames[static_cast<std::size_t>(i - 1)]);
    for (int j = 1; j <= cols; ++j)
        grid.setText(0, j, table.colNames[static_cast<std::size_t>(j - 1)]);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            grid.setText(i, j, "0");
    for (const LongCell &cell : table.cells)
        grid.setText(cell.row + 1, cell.col + 1, std::to_string(cell.count));
    loaded.warnings = NoCountWarnings(table);
    grid.setMarks(LongTableMarks(table, loaded.warnings));
    return loaded;
}

LoadedTable ReadLongFormat(std::string_view fileBytes)
{
    return LongTableToGrid(ReadLongData(fileBytes));
}

LoadedTable LoadLongFormatFile(const std::string &fileName)
{
    return ReadLongFormat(ReadDataFileBytes(fileName));
}
