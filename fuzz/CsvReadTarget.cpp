// The CSV data file reader on bytes in any encoding. A load either fails
// with one of its messages or gives a table within the size rule that saves
// and loads back as the same table, in either encoding the program writes.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/TableSize.h"

#include <string>

namespace {

void CheckShape(const LoadedTable &loaded)
{
    const InputTable &table = loaded.table;
    if (!IsTableSize(table.rows(), table.cols()))
        FuzzFinding("loaded a table of " + std::to_string(table.rows()) + " x "
            + std::to_string(table.cols()));
    if (!table.corner().empty())
        FuzzFinding("the corner cell was loaded");
}

void CheckRoundTrip(const LoadedTable &loaded, FileEncoding encoding, const char *name)
{
    std::string saved;
    LoadedTable again;
    try {
        saved = CsvDataBytes(loaded.table, encoding);
        again = ReadCsvData(saved);
    } catch (const QuarnetError &e) {
        FuzzFinding(
            std::string("a loaded table does not save and load again (") + name + "): " + e.what());
    }
    if (!(again.table == loaded.table))
        FuzzFinding(std::string("a loaded table saved (") + name + ") and loaded again differs");
}

} // namespace

void FuzzCsvRead(std::string_view bytes)
{
    LoadedTable loaded;
    try {
        loaded = ReadCsvData(bytes);
    } catch (const QuarnetError &e) {
        if (!dynamic_cast<const InputError *>(&e) && !dynamic_cast<const ListIndexError *>(&e))
            FuzzFinding(std::string("unexpected kind of message from the load: ") + e.what());
        return;
    }
    CheckShape(loaded);
    CheckRoundTrip(loaded, FileEncoding::Cp932OrUtf8, "CP932 or UTF-8");
    CheckRoundTrip(loaded, FileEncoding::Utf8, "UTF-8");
}
