#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vestrel::testkit {

ScriptedPrompter::~ScriptedPrompter()
{
    EXPECT_TRUE(queue_.empty()) << queue_.size() << " scripted answer(s) were never asked for";
}

ScriptedPrompter& ScriptedPrompter::answer(Answer a) { queue_.emplace_back(a); return *this; }
ScriptedPrompter& ScriptedPrompter::answerFiles(std::optional<std::vector<std::string>> f)
{
    queue_.emplace_back(std::move(f));
    return *this;
}
ScriptedPrompter& ScriptedPrompter::answerPath(std::optional<std::string> p)
{
    queue_.emplace_back(std::move(p));
    return *this;
}
ScriptedPrompter& ScriptedPrompter::answerColour(std::optional<Colour> c) { queue_.emplace_back(c); return *this; }
ScriptedPrompter& ScriptedPrompter::answerFont(std::optional<FontChoice> f)
{
    queue_.emplace_back(std::move(f));
    return *this;
}

std::vector<std::string> ScriptedPrompter::texts() const
{
    std::vector<std::string> out;
    for (const Shown& s : shown_) out.push_back(s.text);
    return out;
}

bool ScriptedPrompter::showed(const std::string& text) const
{
    return std::ranges::any_of(shown_, [&](const Shown& s) { return s.text == text; });
}

template <typename T>
T ScriptedPrompter::take(const std::string& kind, const std::string& text, T fallback)
{
    if (queue_.empty()) {
        ADD_FAILURE() << "unscripted " << kind << ": " << text;
        return fallback;
    }
    Scripted next = std::move(queue_.front());
    queue_.pop_front();
    if (T* value = std::get_if<T>(&next)) return std::move(*value);
    ADD_FAILURE() << "the scripted answer does not fit the " << kind << ": " << text;
    return fallback;
}

void ScriptedPrompter::showMessage(const std::string& text, const std::string& caption, MessageKind)
{
    shown_.push_back({"message", text, caption});
}

Answer ScriptedPrompter::showYesNo(const std::string& text, const std::string& caption, MessageKind)
{
    shown_.push_back({"yesno", text, caption});
    return take<Answer>("yes/no question", text, Answer::No);
}

Answer ScriptedPrompter::showYesNoCancel(const std::string& text, const std::string& caption, MessageKind)
{
    shown_.push_back({"yesnocancel", text, caption});
    return take<Answer>("yes/no/cancel question", text, Answer::Cancel);
}

std::optional<std::vector<std::string>> ScriptedPrompter::openFiles(const FileDialogOptions& o)
{
    shown_.push_back({"open", o.title, o.filter});
    return take<std::optional<std::vector<std::string>>>("open dialog", o.title, std::nullopt);
}

std::optional<std::string> ScriptedPrompter::saveFile(const FileDialogOptions& o)
{
    shown_.push_back({"save", o.title, o.filter});
    return take<std::optional<std::string>>("save dialog", o.title, std::nullopt);
}

std::optional<std::string> ScriptedPrompter::chooseFolder(const std::string& title, const std::string& dir)
{
    shown_.push_back({"folder", title, dir});
    return take<std::optional<std::string>>("folder dialog", title, std::nullopt);
}

std::optional<Colour> ScriptedPrompter::chooseColour(const Colour&)
{
    shown_.push_back({"colour", "", ""});
    return take<std::optional<Colour>>("colour dialog", "", std::nullopt);
}

std::optional<FontChoice> ScriptedPrompter::chooseFont(const FontChoice& initial)
{
    shown_.push_back({"font", initial.faceName, ""});
    return take<std::optional<FontChoice>>("font dialog", initial.faceName, std::nullopt);
}

}  // namespace vestrel::testkit
