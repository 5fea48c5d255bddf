#include "KeyFilterValidator.h"

#include "entry/mdlFunction.h"

namespace vorlane {

KeyFilterValidator::KeyFilterValidator(Filter accepts, Mode mode, QObject *parent)
    : QValidator(parent)
    , m_accepts(std::move(accepts))
    , m_mode(mode)
{}

KeyFilterValidator *KeyFilterValidator::codes(Mode mode, QObject *parent)
{
    return new KeyFilterValidator(IsCodeText, mode, parent);
}

KeyFilterValidator *KeyFilterValidator::digits(Mode mode, QObject *parent)
{
    return new KeyFilterValidator(
        [](const QString &text) { return IsNumericText(text, false, false); }, mode, parent);
}

QValidator::State KeyFilterValidator::validate(QString &input, int &pos) const
{
    if (m_mode == Mode::RefuseWhole)
        return m_accepts(input) ? Acceptable : Invalid;
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (m_accepts(QString(input.at(i))))
            kept += input.at(i);
        else if (i < pos)
            --newPos;
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

} // namespace vorlane
