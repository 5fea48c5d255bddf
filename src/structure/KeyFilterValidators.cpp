#include "KeyFilterValidators.h"

#include "entry/mdlFunction.h"

namespace vorlane {

bool KeyFilterValidator::accepts(QChar c) const
{
    return m_kind == Kind::Code ? IsCodeChar(c) : IsNumericChar(c, false, false);
}

QValidator::State KeyFilterValidator::validate(QString &input, int &pos) const
{
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
        if (accepts(input.at(i)))
            kept += input.at(i);
        else if (i < pos)
            --newPos;
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

} // namespace vorlane
