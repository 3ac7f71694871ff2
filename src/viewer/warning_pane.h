// The module's warnings, newest last, each after the call it came from,
// under a heading that counts them.
#ifndef WARNING_PANE_H
#define WARNING_PANE_H

#include <QWidget>

class QLabel;
class QPlainTextEdit;

class WarningPane : public QWidget {
    Q_OBJECT

public:
    explicit WarningPane(QWidget* parent = nullptr);

    int count() const { return m_count; }
    // "Warnings: 2", as shown above the lines.
    QString heading() const;
    QStringList lines() const;

public slots:
    // "trigger 3, sub/b.png: " and the message; the message alone without an origin.
    void addWarning(const QString& origin, const QString& message);
    void clear();

private:
    void showCount();

    QLabel* m_heading;
    QPlainTextEdit* m_lines;
    int m_count = 0;
};

#endif
