#include "core/PrivateProfile.h"
#include "core/LineText.h"
#include "core/WholeFileWriter.h"

#include <QFile>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The profile API drops one pair of double quotes around a value.
QString unquote(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Reading trims a value and drops one pair of quotes around it; a value that
// would lose blanks or quotes that way is written inside quotes of its own.
QString storedForm(const QString &value)
{
    if (value != value.trimmed() || unquote(value) != value)
        return u'"' + value + u'"';
    return value;
}

} // namespace

PrivateProfile::PrivateProfile(QString path)
    : m_path(std::move(path))
{
}

PrivateProfile::Line PrivateProfile::parse(const QString &text)
{
    Line line;
    line.text = text;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            line.kind = Line::Section;
            line.section = trimmed.mid(1, close - 1).trimmed();
        }
        return line;
    }
    if (trimmed.startsWith(u';'))
        return line;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq > 0) {
        line.kind = Line::Key;
        line.key = trimmed.left(eq).trimmed();
        line.value = unquote(trimmed.mid(eq + 1).trimmed());
    }
    return line;
}

bool PrivateProfile::load()
{
    m_lines.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n' && bytes[end] != '\0')
            ++end;
        m_lines.push_back(parse(decodeLine(QByteArrayView(bytes).sliced(start, end - start))));
        // One line end: CR LF, CR, LF or a stray NUL.
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

QByteArray PrivateProfile::content() const
{
    QByteArray bytes;
    for (const Line &line : m_lines) {
        bytes += encodeLine(line.text);
        bytes += "\r\n";
    }
    return bytes;
}

bool PrivateProfile::save(QString *errorText) const
{
    return WholeFileWriter::save(m_path, content(), errorText);
}

int PrivateProfile::findSection(const QString &section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Line::Section && sameName(m_lines[i].section, section))
            return int(i);
    return -1;
}

int PrivateProfile::sectionEnd(int sectionIndex) const
{
    int i = sectionIndex + 1;
    while (i < int(m_lines.size()) && m_lines[i].kind != Line::Section)
        ++i;
    return i;
}

int PrivateProfile::findKey(int sectionIndex, const QString &key) const
{
    const int end = sectionEnd(sectionIndex);
    for (int i = sectionIndex + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Key && sameName(m_lines[i].key, key))
            return i;
    return -1;
}

bool PrivateProfile::contains(const QString &section, const QString &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString PrivateProfile::value(const QString &section, const QString &key,
                              const QString &defaultValue) const
{
    const int s = findSection(section);
    if (s < 0)
        return defaultValue;
    const int k = findKey(s, key);
    return k < 0 ? defaultValue : m_lines[k].value;
}

bool PrivateProfile::canHold(const QString &section, const QString &key, const QString &value)
{
    // A line end or NUL would split the entry into lines that read back as
    // something else (a new section, a new key); "=" in a key or "]" in a
    // section name would move the boundary between name and value.
    // Names are read trimmed, and a key line that starts with ";" or "[" reads
    // as a comment or a section.
    auto breaksLine = [](const QString &text) {
        return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
    };
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) && !key.contains(u'=')
        && !section.contains(u']') && !key.isEmpty() && key == key.trimmed() && section == section.trimmed()
        && !key.startsWith(u';') && !key.startsWith(u'[');
}

bool PrivateProfile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!canHold(section, key, value))
        return false;
    Line line;
    line.kind = Line::Key;
    line.key = key;
    line.value = value;
    line.text = key + u'=' + storedForm(value);

    int s = findSection(section);
    if (s < 0) {
        Line header;
        header.kind = Line::Section;
        header.section = section;
        header.text = u'[' + section + u']';
        m_lines.push_back(header);
        m_lines.push_back(line);
        return true;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        line.key = m_lines[k].key;  // keep the spelling already in the file
        line.text = line.key + u'=' + storedForm(value);
        m_lines[k] = line;
        return true;
    }
    // After the section's last key, before any trailing blank lines.
    int insertAt = sectionEnd(s);
    while (insertAt > s + 1 && m_lines[insertAt - 1].kind == Line::Other
           && m_lines[insertAt - 1].text.trimmed().isEmpty())
        --insertAt;
    m_lines.insert(m_lines.begin() + insertAt, line);
    return true;
}

void PrivateProfile::removeKey(const QString &section, const QString &key)
{
    const int s = findSection(section);
    if (s < 0)
        return;
    const int k = findKey(s, key);
    if (k >= 0)
        m_lines.erase(m_lines.begin() + k);
}

void PrivateProfile::removeSection(const QString &section)
{
    int s;
    while ((s = findSection(section)) >= 0)
        m_lines.erase(m_lines.begin() + s, m_lines.begin() + sectionEnd(s));
}

QStringList PrivateProfile::sectionNames() const
{
    QStringList names;
    for (const Line &line : m_lines)
        if (line.kind == Line::Section)
            names << line.section;
    return names;
}

QStringList PrivateProfile::keyNames(const QString &section) const
{
    QStringList names;
    const int s = findSection(section);
    if (s < 0)
        return names;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Key)
            names << m_lines[i].key;
    return names;
}

QString PrivateProfile::readString(const QString &path, const QString &section, const QString &key,
                                   const QString &defaultValue)
{
    PrivateProfile profile(path);
    profile.load();
    return profile.value(section, key, defaultValue);
}

bool PrivateProfile::writeString(const QString &path, const QString &section, const QString &key,
                                 const QString &value)
{
    PrivateProfile profile(path);
    if (!profile.load())
        return false;
    return profile.setValue(section, key, value) && profile.save();
}
