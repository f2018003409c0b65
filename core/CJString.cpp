#include "core/CJString.h"

#include <algorithm>

CJString::~CJString()
{
    m_text.clear();
    m_length = 0;
}

namespace {

bool isBlank(QChar c) { return c == u' '; }

} // namespace

QString CJString::TrimStringRight()
{
    qsizetype end = m_text.size();
    while (end > 0 && isBlank(m_text.at(end - 1)))
        --end;
    m_text.truncate(end);
    return m_text;
}

QString CJString::TrimStringLeft()
{
    qsizetype start = 0;
    while (start < m_text.size() && isBlank(m_text.at(start)))
        ++start;
    m_text.remove(0, start);
    return m_text;
}

QString CJString::TrimStringBoth()
{
    TrimStringLeft();
    return TrimStringRight();
}

void CJString::setWorkingString(const QString &text)
{
    m_text = text;
    Length();
}

void CJString::FindAndReplace(const QString &szFilter, const QString &szReplace)
{
    if (!szFilter.isEmpty())
        m_text.replace(szFilter, szReplace, Qt::CaseSensitive);
}

qint32 CJString::Length()
{
    m_length = qint32(m_text.size());
    return m_length;
}

qint32 CJString::CheckInvalidCharacters(const QVariant &chrArray, qint32 iStartPos) const
{
    const int type = chrArray.typeId();
    if (type != QMetaType::QStringList && type != QMetaType::QVariantList)
        return 0;
    const qsizetype from = qMax<qint32>(iStartPos, 1) - 1;
    for (const QString &item : chrArray.toStringList()) {
        if (item.isEmpty())
            return 0;
        const qsizetype at = m_text.indexOf(item, from, Qt::CaseInsensitive);
        if (at >= 0)
            return qint32(at + 1);
    }
    return 0;
}

void CJString::Switch2Letters(qint32 lPos1, qint32 lPos2)
{
    const qint32 length = qint32(m_text.size());
    if (lPos1 < 1 || lPos2 < 1 || lPos1 > length || lPos2 > length)
        return;
    const QChar first = m_text.at(lPos1 - 1);
    m_text[lPos1 - 1] = m_text.at(lPos2 - 1);
    m_text[lPos2 - 1] = first;
}

void CJString::ReverseLetters()
{
    const qsizetype n = qMin<qsizetype>(m_length, m_text.size());
    std::reverse(m_text.begin(), m_text.begin() + n);
}

void CJString::ConcatStrings(const QString &strConCat1, const QString &strConCat2,
                             int PreserveOriginalString)
{
    if (PreserveOriginalString == 0)
        m_text += strConCat1 + strConCat2;
    else if (PreserveOriginalString == 1)
        m_text = strConCat1 + strConCat2;
}

QList<QChar> CJString::MakeArrayOfChrs() const
{
    return QList<QChar>(m_text.begin(), m_text.end());
}
