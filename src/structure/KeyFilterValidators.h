#pragma once

#include <QValidator>

namespace vorlane {

// The key filters of code and number boxes applied to whatever reaches the box: typed, pasted or
// dropped text loses the characters the filter would swallow, so a paste cannot bring in what a
// key press could not.
class KeyFilterValidator : public QValidator
{
public:
    enum class Kind { Code, Digits };

    explicit KeyFilterValidator(Kind kind, QObject *parent = nullptr)
        : QValidator(parent)
        , m_kind(kind)
    {}

    State validate(QString &input, int &pos) const override;

private:
    bool accepts(QChar c) const;

    Kind m_kind;
};

} // namespace vorlane
