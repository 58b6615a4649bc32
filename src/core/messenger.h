#pragma once
// How core code speaks to the user without knowing whether a window, a log
// or a terminal listens. The desktop program shows message boxes, server
// mode writes its log, the command-line tool writes to stderr and tests
// record what was said.
#include <QString>
#include <QStringList>

namespace korvimo {

class Messenger {
public:
    // Answers of the three-button question, numbered as the message boxes
    // number them: callers compare against these values.
    enum Answer { Yes = 6, No = 7, Cancel = 2 };

    virtual ~Messenger() = default;
    virtual void error(const QString& text) = 0;
    virtual void information(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    // Three buttons: yes, no, cancel; defaultAnswer (Yes or No) names the
    // button that Enter presses. Closing the question without an answer
    // counts as Cancel.
    virtual int question(const QString& title, const QString& text, const QString& yesCaption,
                         const QString& noCaption, const QString& cancelCaption, int defaultAnswer) = 0;
    // The common case: "yes" is the default.
    int question(const QString& title, const QString& text, const QString& yesCaption,
                 const QString& noCaption, const QString& cancelCaption)
    {
        return question(title, text, yesCaption, noCaption, cancelCaption, Yes);
    }
};

// Writes every message to stderr; answers every question with Cancel so that
// nothing is ever overwritten or discarded without a person's consent.
class StderrMessenger final : public Messenger {
public:
    void error(const QString& text) override;
    void information(const QString& text) override;
    void warning(const QString& text) override;
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yesCaption,
                 const QString& noCaption, const QString& cancelCaption, int defaultAnswer) override;
};

// Keeps what was said, in order, and answers questions from a queue (Cancel
// when the queue is empty). Used by tests and by code that collects messages
// to pass them on later.
class RecordingMessenger final : public Messenger {
public:
    struct Entry {
        enum Kind { Error, Information, Warning, Question } kind;
        QString text;
        QString title;         // questions only
        int defaultAnswer = 0; // questions only
    };

    void error(const QString& text) override;
    void information(const QString& text) override;
    void warning(const QString& text) override;
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yesCaption,
                 const QString& noCaption, const QString& cancelCaption, int defaultAnswer) override;

    QList<Entry> entries;
    QList<int> answers; // consumed front to back by question()

    QStringList texts() const;
    int count(Entry::Kind kind) const;
    void clear() { entries.clear(); }
};

// Passes messages on to inner and counts the errors, so that a command can
// tell whether the work it called complained.
class ErrorCountingMessenger final : public Messenger {
public:
    explicit ErrorCountingMessenger(Messenger& inner) : m_inner(inner) {}
    void error(const QString& text) override
    {
        ++errors;
        m_inner.error(text);
    }
    void information(const QString& text) override { m_inner.information(text); }
    void warning(const QString& text) override { m_inner.warning(text); }
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yes, const QString& no,
                 const QString& cancel, int defaultAnswer) override
    {
        return m_inner.question(title, text, yes, no, cancel, defaultAnswer);
    }
    int errors = 0;

private:
    Messenger& m_inner;
};

} // namespace korvimo
