#include "warning_pane.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

WarningPane::WarningPane(QWidget* parent)
    : QWidget(parent), m_heading(new QLabel(this)), m_lines(new QPlainTextEdit(this))
{
    m_lines->setReadOnly(true);
    m_lines->setFocusPolicy(Qt::ClickFocus);
    // A folder of broken files must not let the pane grow without end.
    m_lines->setMaximumBlockCount(10000);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_heading);
    layout->addWidget(m_lines);
    showCount();
}

QString WarningPane::heading() const
{
    return m_heading->text();
}

QStringList WarningPane::lines() const
{
    return m_lines->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void WarningPane::addWarning(const QString& origin, const QString& message)
{
    ++m_count;
    showCount();
    m_lines->appendPlainText(origin.isEmpty() ? message : origin + QStringLiteral(": ") + message);
}

void WarningPane::clear()
{
    m_count = 0;
    showCount();
    m_lines->clear();
}

void WarningPane::showCount()
{
    m_heading->setText(tr("Warnings: %1").arg(m_count));
}
