#include "framework/ScriptedUserInterface.h"

#include <algorithm>
#include <utility>

void ScriptedUserInterface::QueueMessageBoxAnswer(int answer)
{
    m_queued[Kind::messageBox].push_back(Answer{answer, 0, {}, 0});
}

void ScriptedUserInterface::SetStandingAnswer(const std::string& text, int answer)
{
    m_standing[text] = answer;
}

void ScriptedUserInterface::SetStandingAnswerForEnding(const std::string& ending, int answer)
{
    m_standingForEnding[ending] = answer;
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
        question.answer = answer.result;
    } else if (const auto standing = m_standing.find(text); standing != m_standing.end()) {
        question.answer = standing->second;
    } else if (const auto ending =
                   std::find_if(m_standingForEnding.begin(), m_standingForEnding.end(),
                                [&](const auto& entry) { return text.ends_with(entry.first); });
               ending != m_standingForEnding.end()) {
        question.answer = ending->second;
    } else {
        question.answer = DefaultMessageBoxAnswer(type);
        if ((type & MB_TYPEMASK) != MB_OK)
            ++m_unscripted;
    }
    return Record(std::move(question));
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
