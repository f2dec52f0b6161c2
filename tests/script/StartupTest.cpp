#include "EngineTestSupport.h"

#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Set in the copy of this test run under the limit.
const char* const limitedRun = "KINORA_TEST_LIMITED_ADDRESS_SPACE";

TEST(ScriptEngineStartup, UnderAnAddressSpaceLimitAScriptIsRefusedInsteadOfAbortingTheProcess) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's shadow memory does not fit under the limit";
#endif
    if (std::getenv(limitedRun)) {
        const std::string reason = loadFailure(lorenzScript);
        EXPECT_NE(reason.find("address space"), std::string::npos) << reason;
        return;
    }
    // The engine starts once per process, so the check runs in a fresh one, as `ulimit -v
    // 4000000` would start it.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlimit limit{4'000'000ul * 1024, 4'000'000ul * 1024};
        setrlimit(RLIMIT_AS, &limit);
        setenv(limitedRun, "1", 1);
        execl("/proc/self/exe", "startup-test",
              "--gtest_filter=ScriptEngineStartup.UnderAnAddressSpaceLimit*", nullptr);
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the limited run died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
