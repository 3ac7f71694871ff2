// The module's warnings, newest last, under a heading that counts them.
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
    void addWarning(const QString& message);

private:
    void showCount();

    QLabel* m_heading;
    QPlainTextEdit* m_lines;
    int m_count = 0;
};

#endif
