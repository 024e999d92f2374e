#include "controls/richeditcustomctrl.h"

#include "guibase/messagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// Colours whole lines by whether they hold the marker; lazy, so a long log loads
// at once and is coloured as it is laid out.
class MarkerHighlighter : public QSyntaxHighlighter {
public:
    MarkerHighlighter(QTextDocument* document, const CRichEditCustomCtrl* owner)
        : QSyntaxHighlighter(document), m_owner(owner)
    {
    }

protected:
    void highlightBlock(const QString& text) override
    {
        const QString marker = m_owner->Marker();
        if (marker.isEmpty() || text.isEmpty())
            return;
        QTextCharFormat format;
        format.setForeground(text.contains(marker) ? m_owner->MarkedColor() : m_owner->NormalColor());
        format.setFontWeight(QFont::Normal);
        format.setFontUnderline(false);
        setFormat(0, static_cast<int>(text.size()), format);
    }

private:
    const CRichEditCustomCtrl* m_owner;
};

} // namespace

CRichEditCustomCtrl::CRichEditCustomCtrl(QWidget* parent)
    : QPlainTextEdit(parent), m_highlighter(new MarkerHighlighter(document(), this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    // The log's lines are black and its headings blue in every look, so it keeps
    // white paper under a dark look too.
    QPalette paper = palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    setPalette(paper);
}

void CRichEditCustomCtrl::Clear()
{
    m_marker.clear();
    clear();
}

void CRichEditCustomCtrl::AppendText(const QString& text)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(m_crNormal);
    cursor.insertText(text, format);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

bool CRichEditCustomCtrl::FileExists(const QString& path)
{
    QString p = path;
    if (p.endsWith('/'))
        p.chop(1);
    const QFileInfo info(p);
    // Names are compared exactly: a path that differs in letter case is missing.
    return info.exists() && info.isFile() && info.dir().entryList(QDir::Files).contains(info.fileName());
}

qint64 CRichEditCustomCtrl::GetFileLength(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

int CRichEditCustomCtrl::LoadFile(const QString& path, const QString& marker, const QStringList& first_keys,
                                  const QStringList& second_keys)
{
    if (!FileExists(path))
        return -1;
    m_strFile = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ShowMessageBox(this, tr("%1 could not be opened: %2").arg(path, file.errorString()));
        return -1;
    }
    m_nFileLength = 0;
    m_marker.clear();
    clear();
    const qint64 length = GetFileLength(path);
    if (length == m_nFileLength)
        return 0;
    m_nFileLength = length;

    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    int result = 0;
    if (!first_keys.isEmpty() || !second_keys.isEmpty()) {
        const QStringList lines = text.split('\n');
        for (const QString& line : lines) {
            for (const QString& key : first_keys) {
                if (line.contains(key)) {
                    result = 1;
                    break;
                }
            }
            for (const QString& key : second_keys) {
                if (line.contains(key)) {
                    result = 2;
                    break;
                }
            }
        }
    }
    ShowText(text, marker);
    m_strFile = path;
    return result;
}

void CRichEditCustomCtrl::ShowText(QString text, const QString& marker)
{
    m_strFile.clear();
    if (text.endsWith('\n'))
        text.chop(1);
    m_marker = marker;
    setPlainText(text);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QColor CRichEditCustomCtrl::LineColor(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return m_crNormal;
    // Make sure the block has been coloured.
    m_highlighter->rehighlightBlock(block);
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    for (const QTextLayout::FormatRange& range : formats) {
        if (range.format.hasProperty(QTextFormat::ForegroundBrush))
            return range.format.foreground().color();
    }
    const QTextCharFormat charFormat = block.charFormat();
    return charFormat.hasProperty(QTextFormat::ForegroundBrush) ? charFormat.foreground().color() : m_crNormal;
}
