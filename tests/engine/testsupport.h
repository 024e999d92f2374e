#pragma once

#include "doc/framelink.h"
#include "doc/messagesink.h"
#include "theory/lamina.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The carbon/epoxy ply of the worked example: fibre 230 GPa, 0.2, 1.76; matrix
// 3.5 GPa, 0.35, 1.2; FAW 0.6, 0.125 mm at 45 degrees, xi 2, offered factors.
std::unique_ptr<Lamina> MakeCarbonEpoxyLamina(int id = 1, double angle = 45, double thickness = 0.125);

// A ply whose micromechanics are given directly: E1 140, E2 10, G12 5 GPa,
// Nu12 0.3 and the consistent Nu21, with the offered scale factors.
std::unique_ptr<Lamina> MakeOrthotropicLamina(double angle, double thickness = 1.0, int id = 1);

// Captures the engine's trace for its lifetime.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class RecordingFrame : public FrameLink {
public:
    void SetTheoryRibbonValues(int count) override { calls.push_back("theory ribbon " + std::to_string(count)); }
    void SetExperimentRibbonValues(int count) override
    {
        calls.push_back("experiment ribbon " + std::to_string(count));
    }
    void ShowTheoryLaminaCount(int count) override { calls.push_back("theory count " + std::to_string(count)); }
    void RebuildMenuTree(int theory, int experiment) override
    {
        calls.push_back("tree " + std::to_string(theory) + " " + std::to_string(experiment));
    }
    std::vector<std::string> calls;
};

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& Path() const { return m_path; }
    std::string Str() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& text);

// Switches the process to a comma-decimal locale for its lifetime; Active() is false
// when no such locale is installed.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    bool Active() const { return m_active; }

private:
    bool m_active = false;
    std::string m_previous;
};

// Permissions do not stop root. When the tests run as root, body runs in a child
// process as the user nobody, with folder and its contents handed to nobody first;
// otherwise it runs here. Failures inside the child fail the calling test. False
// when the child could not become nobody (the caller skips).
bool RunUnprivileged(const std::filesystem::path& folder, const std::function<void()>& body);

} // namespace testing_support
