#include "framework/ScriptedUserInterface.h"

#include <utility>

void ScriptedUserInterface::QueueMessageBoxAnswer(int answer)
{
    m_queued[Kind::messageBox].push_back(Answer{answer, 0, {}, 0});
}

void ScriptedUserInterface::QueueDefaultButton()
{
    m_queued[Kind::messageBox].push_back(Answer{0, 0, {}, 0});
}

void ScriptedUserInterface::SetStandingAnswer(const std::string& text, int answer)
{
    m_standing[text] = answer;
}

void ScriptedUserInterface::QueueColor(ColorRef color)
{
    m_queued[Kind::color].push_back(Answer{IDOK, color, {}, 0});
}

void ScriptedUserInterface::QueueFile(const std::string& path)
{
    m_queued[Kind::file].push_back(Answer{IDOK, 0, path, 0});
}

void ScriptedUserInterface::QueueTexture(int row)
{
    m_queued[Kind::texture].push_back(Answer{IDOK, 0, {}, row});
}

void ScriptedUserInterface::QueueCancel(Kind kind)
{
    m_queued[kind].push_back(Answer{IDCANCEL, 0, {}, 0});
}

std::vector<std::string> ScriptedUserInterface::MessagesShown() const
{
    std::vector<std::string> texts;
    for (const Question& question : m_asked)
        if (question.kind == Kind::messageBox)
            texts.push_back(question.text);
    return texts;
}

bool ScriptedUserInterface::TakeAnswer(Kind kind, Answer& answer)
{
    auto& queue = m_queued[kind];
    if (queue.empty())
        return false;
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

int ScriptedUserInterface::Record(Question question)
{
    m_asked.push_back(std::move(question));
    return m_asked.back().answer;
}

int ScriptedUserInterface::ShowMessageBox(const std::string& text, unsigned type)
{
    Question question;
    question.text = text;
    question.type = type;
    Answer answer;
    if (TakeAnswer(Kind::messageBox, answer)) {
        question.answer = answer.result != 0 ? answer.result : DefaultButtonAnswer(type);
    } else if (!FindStandingAnswer(text, question.answer)) {
        question.answer = DefaultMessageBoxAnswer(type);
        if ((type & MB_TYPEMASK) != MB_OK)
            ++m_unscripted;
    }
    return Record(std::move(question));
}

bool ScriptedUserInterface::FindStandingAnswer(const std::string& text, int& answer) const
{
    if (const auto exact = m_standing.find(text); exact != m_standing.end()) {
        answer = exact->second;
        return true;
    }
    for (const auto& [pattern, standing] : m_standing) {
        const std::size_t name = pattern.find("%1");
        if (name == std::string::npos || text.size() < pattern.size() - 2)
            continue;
        const std::size_t tail = pattern.size() - name - 2;
        if (text.compare(0, name, pattern, 0, name) == 0 &&
            text.compare(text.size() - tail, tail, pattern, name + 2, tail) == 0) {
            answer = standing;
            return true;
        }
    }
    return false;
}

int ScriptedUserInterface::PickColor(ColorRef& color, unsigned flags)
{
    Question question;
    question.kind = Kind::color;
    question.type = flags;
    question.color = color;
    Answer answer;
    if (!TakeAnswer(Kind::color, answer))
        ++m_unscripted;
    if (answer.result == IDOK)
        color = answer.color;
    question.answer = answer.result;
    return Record(std::move(question));
}

int ScriptedUserInterface::PickFile(const FileDialogRequest& request, std::string& path)
{
    Question question;
    question.kind = Kind::file;
    question.type = request.flags;
    question.file = request;
    Answer answer;
    if (!TakeAnswer(Kind::file, answer))
        ++m_unscripted;
    if (answer.result == IDOK)
        path = answer.path;
    question.answer = answer.result;
    return Record(std::move(question));
}

int ScriptedUserInterface::PickTexture(const std::vector<std::string>& names, int& selected)
{
    Question question;
    question.kind = Kind::texture;
    question.textureNames = names;
    question.selected = selected;
    Answer answer;
    if (!TakeAnswer(Kind::texture, answer))
        ++m_unscripted;
    if (answer.result == IDOK)
        selected = answer.row;
    question.answer = answer.result;
    return Record(std::move(question));
}

void ScriptedUserInterface::BeginWaitCursor()
{
    ++m_waitDepth;
    ++m_waitCount;
}

void ScriptedUserInterface::EndWaitCursor()
{
    --m_waitDepth;
}
