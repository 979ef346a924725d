#pragma once

// Headless Chromium driven over the DevTools protocol on a pipe (file
// descriptors 3 and 4 of the browser, NUL-separated JSON messages): no port,
// no network, nothing but this process and its child.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

struct Browser {
    int pid = -1;
    int commands = -1; // we write, the browser reads (its fd 3)
    int replies = -1;  // the browser writes (its fd 4)
    std::string pending;
    int nextId = 1;
    std::string session; // the page's
    std::vector<nlohmann::json> events;
    std::string profile; // a fresh user data folder
};

// Starts the browser with a page of this size in CSS pixels and attaches to
// it; false with the reason.
bool startBrowser(Browser& browser, int width, int height, std::string& error);
void stopBrowser(Browser& browser);

// Sends one command to the page (or to the browser when toPage is false) and
// returns its result, or {"error": ...}; events that arrive meanwhile are
// kept in browser.events.
nlohmann::json call(Browser& browser, const std::string& method,
                    const nlohmann::json& params = nlohmann::json::object(), bool toPage = true);

// Waits until an event of this name has arrived; false after the timeout.
bool waitForEvent(Browser& browser, const std::string& method, int timeoutMs);

// Evaluates a JavaScript expression in the page, awaiting a promise, and
// returns its value (null on an exception, which stays in the events).
nlohmann::json evaluate(Browser& browser, const std::string& expression);
