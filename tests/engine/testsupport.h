#pragma once

#include "util/trace.h"
#include "doc/messagesink.h"
#include "doc/projectlistener.h"
#include "experiment/experimentspecimen.h"
#include "theory/lamina.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace testing_support {

// The value as "%g" prints it, as the logs show it.
std::string G(double value);

inline bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Each part must occur in text.
void ExpectContains(const std::string& text, const std::vector<std::string>& parts);

// The message of the Error that action throws; succeeding or throwing anything else
// is a failure.
template <typename Error, typename Action>
std::string ErrorOf(Action action)
{
    try {
        action();
        ADD_FAILURE() << "succeeded where it must fail";
    } catch (const Error& error) {
        return error.what();
    } catch (const std::exception& error) {
        ADD_FAILURE() << "not the expected kind of error: " << error.what();
    }
    return {};
}

// The example projects and the test data, by their paths under examples/ and tests/data/.
std::string ExampleFile(const std::string& name);
std::string TestDataFile(const std::string& name);

// The carbon/epoxy ply of the worked example: fibre 230 GPa, 0.2, 1.76; matrix
// 3.5 GPa, 0.35, 1.2; FAW 0.6, 0.125 mm at 45 degrees, xi 2, offered factors.
std::unique_ptr<Lamina> MakeCarbonEpoxyLamina(int id = 1, double angle = 45, double thickness = 0.125);

// A ply whose micromechanics are given directly: E1 140, E2 10, G12 5 GPa,
// Nu12 0.3 and the consistent Nu21, with the offered scale factors.
std::unique_ptr<Lamina> MakeOrthotropicLamina(double angle, double thickness = 1.0, int id = 1);

// Specimen 1 with these readings; without loads, every load is 1.
ExperimentSpecimen MakeSpecimen(std::vector<double> strain, std::vector<double> stress, std::vector<double> load = {});

// A trace kept in a string: passed to a calculation, read by the test.
class TraceCapture {
public:
    operator Trace&() { return m_trace; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
    Trace m_trace{m_text};
};

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class RecordingListener : public ProjectListener {
public:
    void ProjectInitialised() override { calls.push_back("initialised"); }
    void LaminaCountChanged(int count) override { calls.push_back("lamina count " + std::to_string(count)); }
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

// Waits to open the FIFO at path for writing, so that a reader that wrongly opens
// it reads an empty file instead of blocking the test for ever. WasOpened() tells
// whether some reader opened it.
class FifoWriterGuard {
public:
    explicit FifoWriterGuard(std::string path);
    ~FifoWriterGuard();
    FifoWriterGuard(const FifoWriterGuard&) = delete;
    FifoWriterGuard& operator=(const FifoWriterGuard&) = delete;
    bool WasOpened() const { return m_opened; }

private:
    std::string m_path;
    std::atomic<bool> m_opened{false};
    std::thread m_writer;
};

} // namespace testing_support
