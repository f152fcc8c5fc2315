#include "CodePageValidator.h"

#include "CodePage.h"

#include <QLineEdit>

Cp1252Validator::Cp1252Validator(int maxBytes, QObject* parent)
    : QValidator(parent)
    , FMaxBytes(maxBytes)
{
}

QValidator::State Cp1252Validator::validate(QString& input, int& pos) const
{
    // Windows-1252 has one byte per character, so characters count bytes.
    const QList<uint> chars = input.toUcs4();
    for (uint c : chars)
        if (!platform::Cp1252IsTypable(c))
            return Invalid;
    if (FMaxBytes > 0 && chars.size() > FMaxBytes)
        return Invalid;
    (void)pos;
    return Acceptable;
}

void LimitToCp1252(QLineEdit* edit, int maxBytes)
{
    edit->setValidator(new Cp1252Validator(maxBytes, edit));
    if (maxBytes > 0)
        edit->setMaxLength(maxBytes);
}
