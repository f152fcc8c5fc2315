#pragma once
// Text fields that edit configuration texts accept only what the panel's code
// page (Windows-1252) can hold, up to the field's length in code-page bytes,
// so what the user sees is what is stored and sent.
#include <QValidator>

class QLineEdit;

class Cp1252Validator : public QValidator {
public:
    // maxBytes <= 0: no length limit.
    explicit Cp1252Validator(int maxBytes, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
    int MaxBytes() const { return FMaxBytes; }

private:
    int FMaxBytes;
};

// Sets the validator and the length limit on `edit`.
void LimitToCp1252(QLineEdit* edit, int maxBytes);
