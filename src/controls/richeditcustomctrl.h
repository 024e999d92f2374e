#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringList>

class QSyntaxHighlighter;

// The log pane's text: a calculation log loaded line by line, the lines holding a
// marker ("##" for section headings) in a colour of their own.
class CRichEditCustomCtrl : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CRichEditCustomCtrl(QWidget* parent = nullptr);

    // Empties the pane.
    void Clear();
    // Appends text at the end in the normal colour and follows it.
    void AppendText(const QString& text);

    // -1 when the file does not exist or cannot be opened, 0 when it is empty or no
    // key was found, 1 when the last line holding a key held one of first_keys, 2
    // when it held one of second_keys.
    // Shows a log held in memory, lines starting with marker coloured as LoadFile does.
    void ShowText(QString text, const QString& marker);
    int LoadFile(const QString& path, const QString& marker, const QStringList& first_keys = {},
                 const QStringList& second_keys = {});
    static bool FileExists(const QString& path);
    static qint64 GetFileLength(const QString& path);

    QColor NormalColor() const { return m_crNormal; }
    QColor MarkedColor() const { return m_crMarked; }
    QString Marker() const { return m_marker; }
    // The colour a line is shown in.
    QColor LineColor(int line) const;

private:
    QColor m_crNormal{0, 0, 0};
    QColor m_crMarked{35, 100, 200};
    QString m_marker;
    QString m_strFile;
    qint64 m_nFileLength = 0;
    QSyntaxHighlighter* m_highlighter;
};
