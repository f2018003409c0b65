// kestrel-tool decode LINE: the host station record one TNC2 line produces.
// kestrel-tool decode -: the same for every line of standard input, one
// record a line, so that a traffic file of any size decodes in one run.
#include "cli/Commands.h"

#include "core/LineText.h"
#include "host/StationDatabase.h"
#include "host/aprs/Tnc2.h"

#include <QStringList>
#include <charconv>
#include <cmath>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A growing block of output bytes, written a byte at a time without the
// checks and calls a std::string or QByteArray makes per byte.
class Bytes
{
public:
    Bytes() : m_bytes(4096, '\0') {}
    [[gnu::always_inline]] void push_back(char c)
    {
        if (m_size == m_bytes.size()) [[unlikely]]
            m_bytes.resize(m_bytes.size() * 2);
        m_bytes[m_size++] = c;
    }
    [[gnu::always_inline]] Bytes &append(const char *text, size_t length)
    {
        if (m_size + length > m_bytes.size()) [[unlikely]]
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + length));
        char *to = m_bytes.data() + m_size;
        // Keys and numbers are a few bytes: a loop beats a call to memcpy.
        if (length <= 16) {
            for (size_t i = 0; i < length; ++i)
                to[i] = text[i];
        } else {
            std::memcpy(to, text, length);
        }
        m_size += length;
        return *this;
    }
    [[gnu::always_inline]] Bytes &append(std::string_view text) { return append(text.data(), text.size()); }
    // Room for length more bytes, written through the pointer and then committed.
    char *grow(size_t length)
    {
        if (m_size + length > m_bytes.size()) [[unlikely]]
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + length));
        return m_bytes.data() + m_size;
    }
    void commit(size_t length) { m_size += length; }
    const char *data() const { return m_bytes.data(); }
    size_t size() const { return m_size; }
    void clear() { m_size = 0; }

private:
    std::string m_bytes;
    size_t m_size = 0;
};

// Writes records straight into UTF-8 bytes: batch decoding writes millions
// of fields, and building a QString for each costs more than the decoding.
class RecordWriter
{
public:
    enum class Form { Lines, OneLine, Json };

    RecordWriter(Form form, Bytes *out) : m_form(form), m_out(out) {}

    void begin()
    {
        m_first = true;
        if (m_form == Form::Json)
            m_out->push_back('{');
    }
    void end() { m_out->append(m_form == Form::Json ? "}\n" : m_form == Form::OneLine ? "\n" : ""); }

    void text(std::string_view key, QStringView value)
    {
        name(key);
        if (m_form == Form::Json)
            m_out->push_back('"');
        addText(value);
        if (m_form == Form::Json)
            m_out->push_back('"');
        close();
    }
    void number(std::string_view key, double value, int decimals)
    {
        char digits[64];
        const auto r = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
        raw(key, std::string_view(digits, size_t(r.ptr - digits)));
    }
    // As QString::number(double) writes it: six significant digits.
    void general(std::string_view key, double value)
    {
        if (value == std::trunc(value) && std::abs(value) < 1e6) {
            integer(key, static_cast<long long>(value));
            return;
        }
        char digits[64];
        const auto r = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
        raw(key, std::string_view(digits, size_t(r.ptr - digits)));
    }
    void integer(std::string_view key, long long value)
    {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, value);
        raw(key, std::string_view(digits, size_t(r.ptr - digits)));
    }
    void boolean(std::string_view key, bool value) { raw(key, value ? "true" : "false"); }
    // A position in minutes with four decimals, as QString::number(v, 'f', 4)
    // writes it: a float times 10,000 is exact in a double, so rounding it
    // to the nearest (ties to even) gives the correctly rounded digits.
    void minutes(std::string_view key, float value)
    {
        const double scaled = std::nearbyint(double(value) * 10000.0);
        if (!std::isfinite(scaled) || std::abs(scaled) > 1e15) {
            number(key, value, 4);
            return;
        }
        const unsigned long long n = static_cast<unsigned long long>(std::abs(scaled));
        char digits[32];
        char *p = digits;
        if (std::signbit(value))
            *p++ = '-';
        p = std::to_chars(p, digits + sizeof digits, n / 10000).ptr;
        *p++ = '.';
        const unsigned fraction = unsigned(n % 10000);
        for (unsigned divisor = 1000; divisor > 0; divisor /= 10)
            *p++ = char('0' + fraction / divisor % 10);
        raw(key, std::string_view(digits, size_t(p - digits)));
    }

    // A text built from pieces (the header): opened, added to, closed.
    void openText(std::string_view key)
    {
        name(key);
        if (m_form == Form::Json)
            m_out->push_back('"');
    }
    void addText(QStringView value)
    {
        // Runs of plain ASCII, the bulk of any frame, are copied in one go,
        // eight characters at a time where the processor allows.
        qsizetype i = 0;
        while (i < value.size()) {
            char *to = m_out->grow(size_t(value.size() - i));
            size_t n = 0;
#ifdef __SSE2__
            const __m128i below = _mm_set1_epi16(0x20), above = _mm_set1_epi16(0x7F);
            const __m128i quote = _mm_set1_epi16('"'), backslash = _mm_set1_epi16('\\');
            while (i + 8 <= value.size()) {
                const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(value.utf16() + i));
                // Signed compares: anything from 0x8000 up counts as below 0x20.
                const __m128i special = _mm_or_si128(
                    _mm_or_si128(_mm_cmplt_epi16(chars, below), _mm_cmpgt_epi16(chars, above)),
                    _mm_or_si128(_mm_cmpeq_epi16(chars, quote), _mm_cmpeq_epi16(chars, backslash)));
                if (_mm_movemask_epi8(special) != 0)
                    break;
                _mm_storel_epi64(reinterpret_cast<__m128i *>(to + n), _mm_packus_epi16(chars, chars));
                n += 8;
                i += 8;
            }
#endif
            for (; i < value.size(); ++i) {
                const char16_t u = value[i].unicode();
                if (u < 0x20 || u >= 0x80 || u == '"' || u == '\\')
                    break;
                to[n++] = char(u);
            }
            m_out->commit(n);
            if (i < value.size())
                character(value, i++);
        }
    }
    void closeText()
    {
        if (m_form == Form::Json)
            m_out->push_back('"');
        close();
    }

private:
    void name(std::string_view key)
    {
        if (m_form == Form::Json) {
            if (!m_first)
                m_out->push_back(',');
            m_out->push_back('"');
            m_out->append(key).append("\":");
        } else {
            if (!m_first && m_form == Form::OneLine)
                m_out->push_back('\t');
            m_out->append(key).append(": ");
        }
        m_first = false;
    }
    void close()
    {
        if (m_form == Form::Lines)
            m_out->push_back('\n');
    }
    void raw(std::string_view key, std::string_view value)
    {
        name(key);
        m_out->append(value);
        close();
    }
    void character(QStringView s, qsizetype i)
    {
        const char16_t u = s[i].unicode();
        if (u >= 0x20 && u < 0x80 && u != '"' && u != '\\') {
            m_out->push_back(char(u));
            return;
        }
        if (m_form != Form::Json) {
            if (u < 0x20 && m_form == Form::OneLine)
                m_out->push_back(' ');  // a TAB or CR from the air must not split the record
            else if (u < 0x80)
                m_out->push_back(char(u));
            else
                utf8(s, i);
            return;
        }
        // As Qt's JSON writer escapes.
        switch (u) {
        case '"': m_out->append("\\\""); return;
        case '\\': m_out->append("\\\\"); return;
        case '\b': m_out->append("\\b"); return;
        case '\f': m_out->append("\\f"); return;
        case '\n': m_out->append("\\n"); return;
        case '\r': m_out->append("\\r"); return;
        case '\t': m_out->append("\\t"); return;
        default: break;
        }
        if (u < 0x20 || (QChar::isSurrogate(u) && !pairedSurrogate(s, i))) {
            static const char hex[] = "0123456789abcdef";
            m_out->append("\\u");
            for (int shift = 12; shift >= 0; shift -= 4)
                m_out->push_back(hex[(u >> shift) & 0xF]);
            return;
        }
        utf8(s, i);
    }
    static bool pairedSurrogate(QStringView s, qsizetype i)
    {
        if (QChar::isHighSurrogate(s[i].unicode()))
            return i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode());
        return i > 0 && QChar::isHighSurrogate(s[i - 1].unicode());
    }
    void utf8(QStringView s, qsizetype i)
    {
        const char16_t u = s[i].unicode();
        if (QChar::isLowSurrogate(u) && pairedSurrogate(s, i))
            return;  // written with its high half
        char32_t code = u;
        if (QChar::isHighSurrogate(u)) {
            if (!pairedSurrogate(s, i)) {
                m_out->append("\xEF\xBF\xBD");
                return;
            }
            code = QChar::surrogateToUcs4(u, s[i + 1].unicode());
        } else if (QChar::isLowSurrogate(u)) {
            m_out->append("\xEF\xBF\xBD");
            return;
        }
        auto put = [this](char32_t byte) { m_out->push_back(char(byte)); };
        if (code < 0x800) {
            put(0xC0 | (code >> 6));
        } else if (code < 0x10000) {
            put(0xE0 | (code >> 12));
            put(0x80 | ((code >> 6) & 0x3F));
        } else {
            put(0xF0 | (code >> 18));
            put(0x80 | ((code >> 12) & 0x3F));
            put(0x80 | ((code >> 6) & 0x3F));
        }
        put(0x80 | (code & 0x3F));
    }

    Form m_form;
    Bytes *m_out;
    bool m_first = true;
};

const char *kindName(AprsReport::Kind kind)
{
    switch (kind) {
    case AprsReport::Kind::Position: return "position";
    case AprsReport::Kind::MicE: return "mic-e";
    case AprsReport::Kind::Object: return "object";
    case AprsReport::Kind::Item: return "item";
    case AprsReport::Kind::Status: return "status";
    case AprsReport::Kind::PositionlessWeather: return "weather";
    case AprsReport::Kind::Message: return "message";
    case AprsReport::Kind::ThirdParty: return "third-party";
    case AprsReport::Kind::Telemetry: return "telemetry";
    case AprsReport::Kind::Unknown: break;
    }
    return "unknown";
}

// What the decoder read beyond the record, for comparing it with another
// decoder from outside; a field is written only when the frame carried it.
void writeReport(const AprsReport &report, RecordWriter &w)
{
    w.text("type", QString::fromLatin1(kindName(report.kind)));
    if (!report.objectName.isEmpty()) {
        w.text("object_name", report.objectName);
        w.boolean("killed", report.killed);
    }
    if (!report.timestamp.isEmpty())
        w.text("timestamp", report.timestamp);
    if (!report.micEMessage.isEmpty())
        w.text("mice_message", report.micEMessage);
    if (!report.dao.isNull())
        w.text("dao", QString(report.dao));
    if (report.range >= 0)
        w.number("range", report.range, 1);
    if (report.hasTelemetry) {
        const telemetry::Report &t = report.telemetry;
        w.text("telemetry_sequence", t.sequence);
        QString values;
        for (int i = 0; i < t.analogCount; ++i)
            values += (i ? QStringLiteral(",") : QString()) + telemetry::formatValue(t.analog[size_t(i)]);
        w.text("telemetry_analog", values);
        if (!t.bits.isEmpty())
            w.text("telemetry_bits", t.bits);
    }
    if (!report.weather.isEmpty())
        w.text("weather", report.weather);
    if (!report.addressee.isEmpty()) {
        w.text("addressee", report.addressee);
        w.text("message_text", report.messageText);
        if (!report.messageId.isEmpty())
            w.text("message_id", report.messageId);
    }
    w.text("comment", report.comment);
}

// The record one frame leaves, written out; false when it leaves none.
bool writeRecord(StationDatabase &database, const Tnc2Frame &frame, RecordWriter &w)
{
    const StationDatabase::Result result = database.applyFrame(frame, QString());
    // An object or item is reported under its own name, as the host files it.
    const QString name = result.positioned.isEmpty() ? result.source : result.positioned;
    const StationDatabase::Entry *e = database.find(name);
    if (!e)
        e = database.find(result.source);
    if (!e)
        return false;
    w.begin();
    w.text("callsign", e->name);
    if (e->hasPosition) {
        w.minutes("latitude", e->latitude);
        w.minutes("longitude", e->longitude);
    }
    const bool symbol = !e->symbolCode.isNull();
    w.text("symbol_table", symbol ? QStringView(&e->symbolTable, 1) : QStringView());
    w.text("symbol_code", symbol ? QStringView(&e->symbolCode, 1) : QStringView());
    w.integer("course", e->course);
    if (e->speed >= 0)
        w.general("speed", e->speed);
    if (e->height != HostStationRecord::NoHeight)
        w.integer("height", e->height);
    const AprsReport &report = result.report;
    if (report.windDirection >= 0) {
        w.integer("wind_direction", report.windDirection);
        w.number("wind_speed", report.windSpeed, 1);
    }
    writeReport(report, w);
    w.text("status", e->status);
    w.boolean("heard_direct", e->heardDirect);
    // The record's header and information text, as the host reports them.
    const QStringView line(e->line);
    w.openText("header");
    if (!line.isEmpty()) {
        w.addText(line.left(e->payloadAt - 1));
        w.addText(u" Port=1 <UI C Len=");
        w.addText(QString::number(line.size() - e->payloadAt));
        w.addText(u">:");
    }
    w.closeText();
    w.text("information", line.isEmpty() ? QStringView() : line.mid(e->payloadAt));
    w.end();
    return true;
}

int decodeStream(bool json, QTextStream &err)
{
    // Raw bytes in and out: each line is decoded on its own (UTF-8 when it
    // is valid UTF-8, else Latin-1), and output is written in large blocks.
    constexpr qsizetype Block = 1 << 20;
    // A "line" longer than this is no frame; it is skipped up to its end
    // rather than held in memory whole.
    constexpr qsizetype MaxLine = 64 * 1024;
    std::vector<char> buffer(static_cast<size_t>(Block));
    QByteArray pending;
    Bytes output;
    RecordWriter writer(json ? RecordWriter::Form::Json : RecordWriter::Form::OneLine, &output);
    StationDatabase database;
    qint64 lineNumber = 0, records = 0, failed = 0;
    auto flush = [&] {
        std::fwrite(output.data(), 1, output.size(), stdout);
        output.clear();
    };
    auto handle = [&](QByteArrayView raw) {
        ++lineNumber;
        // Only the line end goes: the host keeps the blanks a frame ends with.
        while (!raw.isEmpty() && raw.back() == '\r')
            raw.chop(1);
        if (raw.isEmpty())
            return;
        // However the line fell in the read buffer, one rule: too long is no frame.
        if (raw.size() > MaxLine) {
            ++failed;
            err << "decode: line " << lineNumber << ": longer than " << MaxLine << " bytes, not a frame\n";
            return;
        }
        const QString text = decodeLine(raw);
        const QStringView unstamped = splitTimeStamp(text).text;
        Tnc2Frame frame;
        bool written = false;
        // The whole line when it has no stamp, so the frame can share its text.
        if (unstamped.size() == text.size() ? parseTnc2(text, &frame) : parseTnc2(unstamped, &frame)) {
            database.clear();  // every line stands alone
            written = writeRecord(database, frame, writer);
        }
        if (!written) {
            ++failed;
            err << "decode: line " << lineNumber << ": not a frame in TNC2 form (SRC>DST,PATH:payload)\n";
            return;
        }
        ++records;
        if (output.size() > size_t(Block))
            flush();
    };
    bool skipping = false;
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), stdin)) > 0) {
        pending.append(buffer.data(), qsizetype(got));
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\n', start)) >= 0; start = end + 1) {
            if (skipping)
                skipping = false;
            else
                handle(QByteArrayView(pending).sliced(start, end - start));
        }
        pending.remove(0, start);
        if (pending.size() > MaxLine) {
            if (!skipping)
                handle(QByteArrayView(pending).first(MaxLine + 1));  // counted and reported as too long
            skipping = true;
            pending.clear();
        }
    }
    if (!pending.isEmpty() && !skipping)
        handle(pending);
    flush();
    std::fflush(stdout);
    if (failed > 0) {
        err << "decode: " << failed << " of " << (records + failed) << " lines were not frames\n";
        return 1;
    }
    return 0;
}

} // namespace

int runDecode(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool decode \"SRC>DST,PATH:payload\" | kestrel-tool decode - < FILE\n";
        return 2;
    }
    if (args.first() == QLatin1String("-"))
        return decodeStream(json, err);
    Tnc2Frame frame;
    if (!parseTnc2(splitTimeStamp(args.first()).text, &frame)) {
        err << "decode: not a frame in TNC2 form (SRC>DST,PATH:payload)\n";
        return 1;
    }
    StationDatabase database;
    Bytes bytes;
    RecordWriter writer(json ? RecordWriter::Form::Json : RecordWriter::Form::Lines, &bytes);
    if (!writeRecord(database, frame, writer)) {
        err << "decode: nothing was recorded\n";
        return 1;
    }
    out << QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return 0;
}
