#pragma once

#include "dates/datefield.h"

#include <functional>

namespace perlinex::custom {

// A date box of the designer's criteria. A date picked from the calendar is taken over at
// once: the focus that moves on after the calendar closes reaches the window only once it is
// active again, which the window system may do later.
class CriteriaDateField final : public DateField {
public:
    using DateField::DateField;
    std::function<void()> afterPopup;

    void showPopup() override {
        DateField::showPopup();
        if (afterPopup)
            afterPopup();
    }
};

} // namespace perlinex::custom
