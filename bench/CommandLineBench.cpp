#include "RatioRegistry.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs the program with arguments to its end, as a shell would.
void runKinora(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KINORA_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failure = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failure != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("kinora " + arguments[1] + " failed");
    }
}

const std::string csvPath = "/tmp/kinora_bench_export.csv";

// The CSV of the Lorenz example against the cheapest run of the program there is: the
// difference is opening the script and computing and writing its paths, nothing else.
void BM_CommandLine(benchmark::State& state) {
    const bool exportData = state.range(0) == 1;
    for (auto _ : state) {
        if (exportData) {
            runKinora({"--export-data", csvPath, KINORA_SOURCE_DIR "/examples/lorenz.js"});
        } else {
            runKinora({"--version"});
        }
    }
    std::remove(csvPath.c_str());
}

BENCHMARK(BM_CommandLine)
    ->ArgName("exportData")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const RatioRegistration commandLineRatio({"export-data lorenz.js / --version",
                                          "BM_CommandLine/exportData:1/real_time",
                                          "BM_CommandLine/exportData:0/real_time", 3.0},
                                         nullptr);

} // namespace
