#include "testsupport.h"

#include "util/formattext.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

std::string G(double value) { return FormatText("%g", value); }

void ExpectContains(const std::string& text, const std::vector<std::string>& parts)
{
    for (const std::string& part : parts)
        EXPECT_NE(text.find(part), std::string::npos) << "\"" << part << "\" not in: " << text;
}

std::string ExampleFile(const std::string& name) { return std::string(PLYFORGE_EXAMPLES) + "/" + name; }

std::string TestDataFile(const std::string& name) { return std::string(PLYFORGE_TEST_DATA) + "/" + name; }

std::unique_ptr<Lamina> MakeCarbonEpoxyLamina(int id, double angle, double thickness)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->fiber = {"Carbon", 1.76, 230, 0.2, 0, 0};
    lamina->matrix = {"Epoxy", 1.2, 3.5, 0.35, 0, 0};
    lamina->FAW = 0.6;
    lamina->thickness = thickness;
    lamina->angle = angle;
    lamina->xi = 2;
    lamina->S_scale_factor = 0.01;
    lamina->C_scale_factor = 1.0;
    lamina->S_angle_scale_factor = 0.01;
    lamina->C_angle_scale_factor = 1.0;
    return lamina;
}

std::unique_ptr<Lamina> MakeOrthotropicLamina(double angle, double thickness, int id)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->E1 = 140;
    lamina->halphin_tasi_E2 = 10;
    lamina->halphin_tasi_G12 = 5;
    lamina->Nu12 = 0.3;
    lamina->Nu21 = 0.3 * 10 / 140;
    lamina->angle = angle;
    lamina->thickness = thickness;
    lamina->S_scale_factor = 0.01;
    lamina->C_scale_factor = 1.0;
    lamina->S_angle_scale_factor = 0.01;
    lamina->C_angle_scale_factor = 1.0;
    return lamina;
}

ExperimentSpecimen MakeSpecimen(std::vector<double> strain, std::vector<double> stress, std::vector<double> load)
{
    ExperimentSpecimen s;
    s.id = 1;
    if (load.empty())
        load.assign(strain.size(), 1);
    s.load_series = std::move(load);
    s.strain_series = std::move(strain);
    s.stress_series = std::move(stress);
    return s;
}



TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "plyforge-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

CommaDecimalLocale::CommaDecimalLocale()
{
    m_previous = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name)) {
            m_active = std::localeconv()->decimal_point[0] == ',';
            if (m_active)
                return;
        }
    }
    std::setlocale(LC_ALL, m_previous.c_str());
}

CommaDecimalLocale::~CommaDecimalLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }

bool RunUnprivileged(const std::filesystem::path& folder, const std::function<void()>& body)
{
    if (geteuid() != 0) {
        body();
        return true;
    }
    constexpr uid_t kNobody = 65534;
    constexpr int kCannotSwitch = 77;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::error_code error;
        bool owned = chown(folder.c_str(), kNobody, kNobody) == 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
            owned = owned && chown(entry.path().c_str(), kNobody, kNobody) == 0;
        if (!owned || error || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(kCannotSwitch);
        body();
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        ADD_FAILURE() << "the unprivileged child did not finish";
        return true;
    }
    if (WEXITSTATUS(status) == kCannotSwitch)
        return false;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed as the user nobody (see above)";
    return true;
}

FifoWriterGuard::FifoWriterGuard(std::string path) : m_path(std::move(path))
{
    m_writer = std::thread([this] {
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC); // returns once a reader opens
        m_opened = fd >= 0;
        if (fd >= 0)
            ::close(fd);
    });
}

FifoWriterGuard::~FifoWriterGuard()
{
    // Open the reading end ourselves, which lets the writer's open return.
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    m_writer.join();
    if (fd >= 0)
        ::close(fd);
}

} // namespace testing_support
