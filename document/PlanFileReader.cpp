// Decoding of plan files: byte-order marks, UTF-8 and the Windows-1252
// fallback for lines written by older tools.
#include "PlanFileReader.h"

#include <QTextCodec>

namespace {

// Splits at every LF and drops a CR right before it; the LF that ends the
// last line starts no further one.
template <class Text> QList<Text> splitAtLineEnds(const Text &text)
{
    QList<Text> lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (Text &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QString decodeLine(const QByteArray &line, QTextCodec *utf8, QTextCodec *fallback)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QString text = utf8->toUnicode(line.constData(), line.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return fallback->toUnicode(line);
}

} // namespace

QStringList PlanFileReader::splitLines(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QStringList();

    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec *bomCodec = QTextCodec::codecForUtfText(bytes, utf8);
    if (bomCodec != utf8) // UTF-16 or UTF-32 with a byte-order mark
        return splitAtLineEnds(bomCodec->toUnicode(bytes));

    QTextCodec *fallback = QTextCodec::codecForName("Windows-1252");
    const int bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QStringList lines;
    for (const QByteArray &line : splitAtLineEnds(bytes.mid(bom)))
        lines.append(decodeLine(line, utf8, fallback));
    return lines;
}
