#pragma once

#include <QValidator>

#include <functional>

namespace vorlane {

// A key filter as a validator, so that pasted and dropped text obeys it as typed text does.
// Characters the filter would swallow are either dropped from the edit or make the whole edit
// refused; typed one by one, both come to the same.
class KeyFilterValidator : public QValidator
{
public:
    enum class Mode { DropSwallowed, RefuseWhole };
    // Whether a text passes the filter; a text passes when each of its characters does.
    using Filter = std::function<bool(const QString &)>;

    KeyFilterValidator(Filter accepts, Mode mode, QObject *parent = nullptr);

    // The filters of code boxes (letters, digits and "_") and of number boxes (digits only).
    static KeyFilterValidator *codes(Mode mode, QObject *parent);
    static KeyFilterValidator *digits(Mode mode, QObject *parent);

    State validate(QString &input, int &pos) const override;

private:
    Filter m_accepts;
    Mode m_mode;
};

} // namespace vorlane
