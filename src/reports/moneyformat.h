#pragma once

#include "util/currency.h"

#include <QString>

namespace perlinex::regional {
class Regional;
}

namespace perlinex::reports {

// Money in the user's currency format exactly as regional::Regional::formatCurrency writes
// it, at a fraction of the cost, for reports that format hundreds of thousands of amounts.
// The layout (symbol and its place, grouping, decimal separator and digits, the form of a
// loss) is read once from the Regional's own output and then checked against it on a set of
// amounts; when it cannot be read that way (grouping other than by threes, digits other than
// 0-9) or any check differs, every amount goes to the Regional itself.
class MoneyFormat {
public:
    explicit MoneyFormat(const regional::Regional& regional);

    QString format(Currency amount) const;
    // True when the layout was read and amounts are formatted here.
    bool isOwnLayout() const { return own_; }

private:
    bool readLayout();

    const regional::Regional& regional_;
    bool own_ = false;
    QString prefix_;
    QString suffix_;
    QString negativeBefore_;
    QString negativeAfter_;
    QString group_; // empty: no grouping
    QString decimal_;
    int digits_ = 2;
};

} // namespace perlinex::reports
