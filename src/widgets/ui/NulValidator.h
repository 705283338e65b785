#pragma once

#include <QValidator>

// Keeps NUL characters out of a title box: a pasted NUL becomes U+FFFD before the box holds it
// (TNulCharacters), and the box says how many.
class TNulValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;

Q_SIGNALS:
    void nulCharactersReplaced(qsizetype count) const;
};
