#pragma once

#include "entry/mdlFunction.h"

#include <QValidator>

namespace vorlane {

// Digits only, for typed and pasted text alike: every other character is dropped from the
// edit, as the key filter swallows it when typed.
class DigitValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        QString kept;
        kept.reserve(input.size());
        int newPos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (IsNumericChar(input.at(i), false, false))
                kept.append(input.at(i));
            else if (i < pos)
                --newPos;
        }
        input = kept;
        pos = newPos;
        return Acceptable;
    }
};

} // namespace vorlane
