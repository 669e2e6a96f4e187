// Decoding of plan files: byte-order marks, UTF-8 and the Windows-1252
// fallback for lines written by older tools.
#include "PlanFileReader.h"

#include <QTextCodec>

namespace {

void appendLine(QStringList &lines, QString line)
{
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    lines.append(line);
}

QString decodeLine(const char *data, int size, QTextCodec *utf8, QTextCodec *fallback)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QString text = utf8->toUnicode(data, size, &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return fallback->toUnicode(data, size);
}

} // namespace

QStringList PlanFileReader::splitLines(const QByteArray &bytes)
{
    QStringList lines;
    if (bytes.isEmpty())
        return lines;

    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec *bomCodec = QTextCodec::codecForUtfText(bytes, utf8);

    if (bomCodec != utf8) {
        // UTF-16 or UTF-32 with a byte-order mark: decode the whole text.
        const QString text = bomCodec->toUnicode(bytes);
        int start = 0;
        while (start < text.size()) {
            int end = text.indexOf(QLatin1Char('\n'), start);
            if (end < 0)
                end = text.size();
            appendLine(lines, text.mid(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    QTextCodec *fallback = QTextCodec::codecForName("Windows-1252");
    int start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const char *data = bytes.constData();
    const int size = bytes.size();
    while (start < size) {
        int end = bytes.indexOf('\n', start);
        if (end < 0)
            end = size;
        int lineEnd = end;
        if (lineEnd > start && data[lineEnd - 1] == '\r')
            --lineEnd;
        lines.append(decodeLine(data + start, lineEnd - start, utf8, fallback));
        start = end + 1;
    }
    return lines;
}
