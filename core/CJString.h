#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QVariant>

// A working text with its last measured length and a few editing operations.
class CJString
{
public:
    CJString() = default;
    ~CJString();

    QString TrimStringRight();
    QString TrimStringBoth();
    QString TrimStringLeft();

    QString WorkingString() const { return m_text; }
    void setWorkingString(const QString &text);
    QString StringLength() const { return QString::number(m_length); }

    void FindAndReplace(const QString &szFilter, const QString &szReplace);
    qint32 Length();
    // chrArray must be a list (QStringList or QVariantList) to be searched.
    qint32 CheckInvalidCharacters(const QVariant &chrArray, qint32 iStartPos) const;
    void Switch2Letters(qint32 lPos1, qint32 lPos2);
    void ReverseLetters();
    // 0 appends both texts, 1 replaces the text by the two joined, else nothing.
    void ConcatStrings(const QString &strConCat1, const QString &strConCat2,
                       int PreserveOriginalString);
    QList<QChar> MakeArrayOfChrs() const;

private:
    QString m_text;
    qint32 m_length = 0;
};
