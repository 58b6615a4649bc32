#include "core/messenger.h"

#include <cstdio>

namespace korvimo {

namespace {
void printLine(const char* prefix, const QString& text)
{
    std::fprintf(stderr, "%s%s\n", prefix, text.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

void StderrMessenger::error(const QString& text) { printLine("error: ", text); }
void StderrMessenger::information(const QString& text) { printLine("", text); }
void StderrMessenger::warning(const QString& text) { printLine("warning: ", text); }

int StderrMessenger::question(const QString& title, const QString& text, const QString&,
                              const QString&, const QString&, int)
{
    printLine("question (answered cancel): ", title + QStringLiteral(": ") + text);
    return Cancel;
}

void RecordingMessenger::error(const QString& text) { entries.append({Entry::Error, text, {}}); }
void RecordingMessenger::information(const QString& text) { entries.append({Entry::Information, text, {}}); }
void RecordingMessenger::warning(const QString& text) { entries.append({Entry::Warning, text, {}}); }

int RecordingMessenger::question(const QString& title, const QString& text, const QString&,
                                 const QString&, const QString&, int defaultAnswer)
{
    entries.append({Entry::Question, text, title, defaultAnswer});
    return answers.isEmpty() ? int(Cancel) : answers.takeFirst();
}

QStringList RecordingMessenger::texts() const
{
    QStringList out;
    for (const auto& e : entries)
        out << e.text;
    return out;
}

int RecordingMessenger::count(Entry::Kind kind) const
{
    int n = 0;
    for (const auto& e : entries)
        n += e.kind == kind;
    return n;
}

} // namespace korvimo
