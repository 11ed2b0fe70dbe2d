#include "core/LongSparse.h"

#include <utility>

namespace {

std::vector<std::string> oneBased(std::vector<std::string> names)
{
    names.insert(names.begin(), std::string());
    return names;
}

} // namespace

std::shared_ptr<const SparseTable> LongTableToSparse(LongTable table)
{
    auto sparse = std::make_shared<SparseTable>();
    sparse->counts.NRow = static_cast<int>(table.rowNames.size());
    sparse->counts.NCol = static_cast<int>(table.colNames.size());
    sparse->rowNames = oneBased(std::move(table.rowNames));
    sparse->colNames = oneBased(std::move(table.colNames));
    std::vector<CountCell> &cells = sparse->counts.cells;
    cells.reserve(table.cells.size());
    for (const LongCell &cell : table.cells)
        if (cell.count != 0)
            cells.push_back({ cell.row + 1, cell.col + 1, cell.count });
    return sparse;
}
