#pragma once

#include "../analysis/ResultStore.h"

#include <QWidget>

// The plot window: draws the categories of the last run on two chosen
// dimensions. Created by the data window's draw button, owned by the data
// window, which it shows again when it is left.
class TGraphF : public QWidget {
    Q_OBJECT
public:
    TGraphF(ResultStore &store, QWidget *dataWindow);
};
