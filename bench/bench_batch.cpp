// Wall time of the main job: kovrin-batch refining the silicon example
// (examples/cubique) in a fresh process, as scripts/main.sh runs it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Runs the program with its output to /dev/null; its exit status.
int execute(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int etat = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &etat, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

void kovrin_batch_silicium(benchmark::State& etat) {
    const std::string exemples = KOVRIN_EXAMPLES_DIR;
    const auto dossier = std::filesystem::current_path() / "kovrin_bench_batch";
    const std::vector<std::string> arguments{KOVRIN_BATCH_EXE,
                                             "--peaks",
                                             exemples + "/cubique/silicium.prn",
                                             "--cell",
                                             exemples + "/cubique/silicium.cry",
                                             "--lambda",
                                             "1.5405929",
                                             "--workdir",
                                             dossier.string()};
    for (auto _ : etat)
        if (execute(arguments) != 0) etat.SkipWithError("kovrin-batch failed");
    std::filesystem::remove_all(dossier);
}

} // namespace

BENCHMARK(kovrin_batch_silicium)->Unit(benchmark::kMillisecond)->UseRealTime();
