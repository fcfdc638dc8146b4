#include "GridWords.h"

#include <algorithm>

namespace {
struct Step {
    int dColumn;
    int dRow;
};
constexpr Step Directions[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                               {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
} // namespace

GridWords::GridWords(const QString& letters, int columns, int rows)
    : letters_(letters), columns_(columns), rows_(rows) {}

QChar GridWords::LetterAt(int column, int row) const {
    if (column < 1 || column > columns_ || row < 1 || row > rows_)
        return QChar();
    const int index = (row - 1) * columns_ + column;
    return index <= letters_.size() ? letters_[index - 1] : QChar();
}

std::vector<GridWords::Cells> GridWords::Occurrences(const QString& word) const {
    std::vector<Cells> found;
    if (word.isEmpty())
        return found;
    for (int row = 1; row <= rows_; ++row) {
        for (int column = 1; column <= columns_; ++column) {
            if (LetterAt(column, row) != word[0])
                continue;
            for (const Step step : Directions) {
                Cells cells;
                for (int i = 0; i < word.size(); ++i) {
                    const int c = column + step.dColumn * i;
                    const int r = row + step.dRow * i;
                    if (LetterAt(c, r) != word[i])
                        break;
                    cells.insert((r - 1) * columns_ + c);
                }
                if (int(cells.size()) == word.size() &&
                    std::find(found.begin(), found.end(), cells) == found.end())
                    found.push_back(cells);
            }
        }
    }
    return found;
}
