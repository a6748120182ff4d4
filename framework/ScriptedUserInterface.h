#pragma once

#include "framework/UserInterface.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

// A UserInterface that answers from a script and records every question, so
// that a test (or the command-line front end) can check exactly what was
// asked. Each kind of question takes the next queued answer of its kind; a
// message box without one takes the standing answer for its text, if any,
// then the standing answer for how its text ends, and otherwise its default
// button. An unscripted question is counted.
class ScriptedUserInterface : public UserInterface {
public:
    enum class Kind { messageBox, color, file, texture };

    struct Question {
        Kind kind = Kind::messageBox;
        std::string text;       // message box text
        unsigned type = 0;      // message box type, or the dialog's flags
        ColorRef color = 0;     // colour chooser: the initial colour
        FileDialogRequest file; // file chooser: what was asked for
        std::vector<std::string> textureNames;
        int selected = 0; // texture chooser: the row selected first
        int answer = 0;   // the button that closed it
    };

    void QueueMessageBoxAnswer(int answer);
    void SetStandingAnswer(const std::string& text, int answer);
    // For the questions whose text ends with `ending`, whatever comes before.
    void SetStandingAnswerForEnding(const std::string& ending, int answer);
    void QueueColor(ColorRef color);
    void QueueFile(const std::string& path);
    void QueueTexture(int row);
    // The next question of that kind is cancelled.
    void QueueCancel(Kind kind);

    const std::vector<Question>& Asked() const { return m_asked; }
    // The texts of the message boxes shown, in order.
    std::vector<std::string> MessagesShown() const;
    int UnscriptedCount() const { return m_unscripted; }
    int WaitCursorDepth() const { return m_waitDepth; }
    int WaitCursorCount() const { return m_waitCount; }
    void ForgetAsked() { m_asked.clear(); }

    int ShowMessageBox(const std::string& text, unsigned type) override;
    int PickColor(ColorRef& color, unsigned flags) override;
    int PickFile(const FileDialogRequest& request, std::string& path) override;
    int PickTexture(const std::vector<std::string>& names, int& selected) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    struct Answer {
        int result = IDCANCEL;
        ColorRef color = 0;
        std::string path;
        int row = 0;
    };

    bool TakeAnswer(Kind kind, Answer& answer);
    int Record(Question question);

    std::map<Kind, std::deque<Answer>> m_queued;
    std::map<std::string, int> m_standing;
    std::map<std::string, int> m_standingForEnding;
    std::vector<Question> m_asked;
    int m_unscripted = 0;
    int m_waitDepth = 0;
    int m_waitCount = 0;
};
