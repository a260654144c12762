#include "app/qt/form/controls/PasteMemo.h"

#include "transfer/Strip.h"

#include <QMimeData>

QString PasteMemo::LinesHint() {
    return QString::fromUtf8("空行を除いて%1行以内").arg(kWorkingLines);
}

QString CutUnits(const QString& line, qsizetype units) {
    if (line.size() <= units) return line;
    return line.left(units > 0 && line[units - 1].isHighSurrogate() ? units - 1 : units);
}

QString MemoPaste(const QString& text, bool& cut) {
    cut = false;
    QString kept;
    qsizetype lines = 0;
    for (qsizetype pos = 0; pos <= text.size(); ++lines) {
        if (lines == PasteMemo::kLinesKept) {
            cut = pos < text.size();
            break;
        }
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0) end = text.size();
        const QString line = text.mid(pos, end - pos);
        const QString head = CutUnits(line, PasteMemo::kLineUnitsKept);
        cut = cut || head.size() < line.size();
        if (lines > 0) kept += QLatin1Char('\n');
        kept += head;
        pos = end + 1;
    }
    return kept;
}

void PasteMemo::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    bool cut = false;
    QMimeData kept;
    kept.setText(MemoPaste(source->text(), cut));
    QPlainTextEdit::insertFromMimeData(&kept);
    if (cut) emit pasteCut();
}
