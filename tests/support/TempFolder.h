#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds (write protection lifted first) when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of `name` inside the folder, in the system's own notation.
    std::string operator/(const std::string& name) const;

private:
    std::string m_path;
};
