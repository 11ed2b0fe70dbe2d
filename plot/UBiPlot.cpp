#include "UBiPlot.h"

// Placeholder until the plot window is built: an empty window owned by the
// data window.
TGraphF::TGraphF(ResultStore &, QWidget *dataWindow) : QWidget(dataWindow, Qt::Window)
{
    setWindowTitle(QStringLiteral("GraphF"));
}
