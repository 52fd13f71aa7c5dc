// Prompter and FileChooser that answer from a script and record what was asked, so
// that UI tests drive every command without a real modal dialog.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "app/prompter.h"

namespace qel::test {

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        Icon icon;
        QString text;
        Buttons buttons;
        Prompter::Answer defaultAnswer;
    };

    // Answers given in order; once they run out every question gets `fallback`.
    void answer(Prompter::Answer a) { answers_.push_back(a); }
    Prompter::Answer fallback = Prompter::Answer::Ok;

    Prompter::Answer ask(Icon icon, const QString& text, Buttons buttons,
                         Prompter::Answer defaultAnswer) override {
        asked.append({icon, text, buttons, defaultAnswer});
        if (answers_.empty()) {
            return buttons == Buttons::Ok ? Prompter::Answer::Ok : fallback;
        }
        const Prompter::Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }

    // The rotor dialog's and the find dialog's answers.
    std::function<int(int current)> rotorPosition = [](int) { return -1; };
    std::function<std::optional<QString>(const QString& previous)> findText = [](const QString&) {
        return std::nullopt;
    };
    int askRotorPosition(const SatPosTable&, int current) override {
        return rotorPosition(current);
    }
    std::optional<QString> askFindText(const QString& previous) override {
        return findText(previous);
    }
    // The sort dialog's answer; `offeredSorts` records what each call offered.
    std::function<std::optional<SortOptions>(const SortOptions& last)> sortOptions =
        [](const SortOptions&) { return std::nullopt; };
    QList<SortOptions> offeredSorts;
    std::optional<SortOptions> askSortOptions(const SortOptions& last) override {
        offeredSorts.append(last);
        return sortOptions(last);
    }
    // The "Order like" dialog's answer; `offeredReorders` records what each call offered.
    std::function<std::optional<ReorderOptions>(const ReorderOptions& last)> reorderOptions =
        [](const ReorderOptions&) { return std::nullopt; };
    QList<ReorderOptions> offeredReorders;
    std::optional<ReorderOptions> askReorderOptions(const ReorderOptions& last) override {
        offeredReorders.append(last);
        return reorderOptions(last);
    }

    QStringList texts() const {
        QStringList t;
        for (const auto& a : asked)
            t.append(a.text);
        return t;
    }
    QList<Asked> asked;

private:
    std::deque<Prompter::Answer> answers_;
};

class ScriptedChooser : public FileChooser {
public:
    struct Asked {
        bool save;
        QString folder;
        QString proposed;
        QString filter;
    };

    // Paths returned in order; an empty path is a cancelled dialog.
    void choose(const QString& path) { paths_.push_back(path); }

    QString openFile(const QString& folder, const QString& filter) override {
        asked.append({false, folder, QString(), filter});
        return Next();
    }
    QString saveFile(const QString& folder, const QString& proposedName,
                     const QString& filter) override {
        asked.append({true, folder, proposedName, filter});
        return Next();
    }
    QList<Asked> asked;

private:
    QString Next() {
        if (paths_.empty()) return {};
        QString p = paths_.front();
        paths_.pop_front();
        return p;
    }
    std::deque<QString> paths_;
};

}  // namespace qel::test
