#include "tests/browser/devtools_pipe.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Whatever a step waits for, it gives up after this long: a hung browser
// fails the test instead of stopping the run.
constexpr int replyTimeoutMs = 60000;

bool sendMessage(Browser& browser, const nlohmann::json& message) {
    const std::string text = message.dump() + '\0';
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(browser.commands, text.data() + sent, text.size() - sent);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// The next message, or a discarded value once the time is up.
nlohmann::json nextMessage(Browser& browser, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = browser.pending.find('\0');
        if (end != std::string::npos) {
            const std::string text = browser.pending.substr(0, end);
            browser.pending.erase(0, end + 1);
            return nlohmann::json::parse(text, nullptr, false);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd ready{browser.replies, POLLIN, 0};
        if (left <= 0 || poll(&ready, 1, static_cast<int>(left)) <= 0) {
            return nlohmann::json(nlohmann::json::value_t::discarded);
        }
        char buffer[65536];
        const ssize_t n = read(browser.replies, buffer, sizeof buffer);
        if (n <= 0) {
            return nlohmann::json(nlohmann::json::value_t::discarded);
        }
        browser.pending.append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace

bool startBrowser(Browser& browser, int width, int height, std::string& error) {
    char profile[] = "/tmp/posebridge-chromium-XXXXXX";
    if (mkdtemp(profile) == nullptr) {
        error = "cannot make a profile folder";
        return false;
    }
    browser.profile = profile;
    int toBrowser[2], fromBrowser[2];
    if (pipe(toBrowser) != 0 || pipe(fromBrowser) != 0) {
        error = "cannot make pipes";
        return false;
    }
    const std::string size =
        "--window-size=" + std::to_string(width) + "," + std::to_string(height);
    const std::string data = "--user-data-dir=" + browser.profile;
    // Headless as root: no sandbox, software WebGL (SwiftShader), and every
    // host name resolving nowhere, so that a request to the network fails.
    std::vector<std::string> arguments = {"/usr/bin/chromium",
                                          "--headless",
                                          "--no-sandbox",
                                          "--disable-gpu",
                                          "--enable-unsafe-swiftshader",
                                          "--disable-quic",
                                          "--no-first-run",
                                          "--disable-background-networking",
                                          "--disable-component-update",
                                          "--disable-sync",
                                          "--host-resolver-rules=MAP * ~NOTFOUND",
                                          "--hide-scrollbars",
                                          "--remote-debugging-pipe",
                                          size,
                                          data,
                                          "about:blank"};
    browser.pid = fork();
    if (browser.pid == 0) {
        dup2(toBrowser[0], 3);
        dup2(fromBrowser[1], 4);
        for (int fd = 5; fd < 256; ++fd) {
            close(fd);
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        // Its log is noise for the test; the protocol carries what counts.
        std::freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(toBrowser[0]);
    close(fromBrowser[1]);
    browser.commands = toBrowser[1];
    browser.replies = fromBrowser[0];
    if (browser.pid < 0) {
        error = "cannot start /usr/bin/chromium";
        return false;
    }
    const nlohmann::json targets = call(browser, "Target.getTargets", {}, false);
    std::string page;
    for (const nlohmann::json& target : targets.value("targetInfos", nlohmann::json::array())) {
        if (target.value("type", "") == "page") {
            page = target.value("targetId", "");
        }
    }
    if (page.empty()) {
        error = "no page in the browser: " + targets.dump();
        return false;
    }
    const nlohmann::json attached =
        call(browser, "Target.attachToTarget", {{"targetId", page}, {"flatten", true}}, false);
    browser.session = attached.value("sessionId", "");
    for (const char* domain : {"Page.enable", "Runtime.enable", "Log.enable", "Network.enable"}) {
        call(browser, domain);
    }
    return !browser.session.empty();
}

void stopBrowser(Browser& browser) {
    if (browser.pid > 0) {
        call(browser, "Browser.close", {}, false);
        close(browser.commands);
        close(browser.replies);
        int status = 0;
        for (int k = 0; k < 100 && waitpid(browser.pid, &status, WNOHANG) == 0; ++k) {
            usleep(50000);
        }
        if (waitpid(browser.pid, &status, WNOHANG) == 0) {
            kill(browser.pid, SIGKILL);
            waitpid(browser.pid, &status, 0);
        }
        browser.pid = -1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(browser.profile, ignored);
}

nlohmann::json call(Browser& browser, const std::string& method, const nlohmann::json& params,
                    bool toPage) {
    const int id = browser.nextId++;
    nlohmann::json message = {{"id", id}, {"method", method}, {"params", params}};
    if (toPage) {
        message["sessionId"] = browser.session;
    }
    if (!sendMessage(browser, message)) {
        return {{"error", "cannot send " + method}};
    }
    for (;;) {
        nlohmann::json reply = nextMessage(browser, replyTimeoutMs);
        if (reply.is_discarded()) {
            return {{"error", "no answer to " + method}};
        }
        if (reply.contains("id") && reply["id"] == id) {
            return reply.contains("error") ? nlohmann::json{{"error", reply["error"]}}
                                           : reply.value("result", nlohmann::json::object());
        }
        if (reply.contains("method")) {
            browser.events.push_back(std::move(reply));
        }
    }
}

bool waitForEvent(Browser& browser, const std::string& method, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (const nlohmann::json& event : browser.events) {
            if (event.value("method", "") == method) {
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            return false;
        }
        nlohmann::json message = nextMessage(browser, static_cast<int>(left));
        if (message.is_discarded()) {
            return false;
        }
        if (message.contains("method")) {
            browser.events.push_back(std::move(message));
        }
    }
}

nlohmann::json evaluate(Browser& browser, const std::string& expression) {
    const nlohmann::json result =
        call(browser, "Runtime.evaluate",
             {{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}});
    if (result.contains("exceptionDetails") || !result.contains("result")) {
        browser.events.push_back({{"method", "evaluate.failed"}, {"params", result}});
        return nullptr;
    }
    return result["result"].value("value", nlohmann::json());
}
