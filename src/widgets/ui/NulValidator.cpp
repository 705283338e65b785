#include "NulValidator.h"

#include "document/NulCharacters.h"

QValidator::State TNulValidator::validate(QString &input, int &) const
{
    // One unit replaces one unit: the caret stays where it was.
    if (const qsizetype count = TNulCharacters::replace(input))
        Q_EMIT nulCharactersReplaced(count);
    return Acceptable;
}
