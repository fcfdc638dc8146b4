#pragma once

#include <QString>
#include <QStringList>
#include <set>

// A puzzle ready for paper: its size known to be one the board accepts,
// letters and words composed.
struct PrintablePuzzle {
    int number = 0;
    QString title;
    int columns = 0;
    int rows = 0;
    QString letters; // one per cell, row after row; missing ones print empty
    QStringList words;
    std::set<int> solution; // 1-based cell indices
};
