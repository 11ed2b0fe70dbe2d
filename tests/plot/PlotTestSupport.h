#pragma once

#include "analysis/ResultStore.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/PlotInput.h"

#include <QColor>
#include <QImage>
#include <QRgb>

#include <initializer_list>
#include <string>
#include <utility>

// Helpers shared by the plot tests: stores filled by hand and pixel tests.
namespace plottest {

// One category: its weighted scale values on dimensions 1 and 2 and its name.
struct Category {
    long double d1;
    long double d2;
    std::string name;
};

// A store of NDim dimensions holding the given rows and columns.
inline ResultStore makeStore(
    int NDim, std::initializer_list<Category> rows, std::initializer_list<Category> cols)
{
    ResultStore s;
    s.NDim = NDim;
    const int dims = NDim < 2 ? 2 : NDim;
    s.RowWeightedScale = TExtMatrix(static_cast<int>(rows.size()), dims);
    s.ColWeightedScale = TExtMatrix(static_cast<int>(cols.size()), dims);
    s.RowLabel.assign(1, std::string());
    s.ColLabel.assign(1, std::string());
    for (const Category &c : rows) {
        ++s.NRow;
        s.RowWeightedScale(s.NRow, 1) = c.d1;
        s.RowWeightedScale(s.NRow, 2) = c.d2;
        s.RowLabel.push_back(c.name);
    }
    for (const Category &c : cols) {
        ++s.NCol;
        s.ColWeightedScale(s.NCol, 1) = c.d1;
        s.ColWeightedScale(s.NCol, 2) = c.d2;
        s.ColLabel.push_back(c.name);
    }
    return s;
}

// The map of a store as the correspondence analysis hands it to the plot.
inline PlotInput plotInput(const ResultStore &store)
{
    return CorrespondencePlotInput(store);
}

inline bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

inline bool isWhite(QRgb pixel)
{
    return (pixel & 0xffffff) == 0xffffff;
}

// Dark pixels of `image` in the closed rectangle (x0, y0)..(x1, y1).
inline int darkCount(const QImage &image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            count += isDark(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// First and last dark column on row y between x0 and x1, or {-1, -1}.
inline std::pair<int, int> darkSpan(const QImage &image, int y, int x0, int x1)
{
    int first = -1;
    int last = -1;
    for (int x = x0; x <= x1; ++x) {
        if (isDark(image.pixel(x, y))) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return { first, last };
}

// First and last dark row in column x between y0 and y1, or {-1, -1}.
inline std::pair<int, int> darkSpanDown(const QImage &image, int x, int y0, int y1)
{
    int first = -1;
    int last = -1;
    for (int y = y0; y <= y1; ++y) {
        if (isDark(image.pixel(x, y))) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    return { first, last };
}

}
