#pragma once
// A headless toolkit and a demo music service on loopback that the service client is pointed at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "DemoService.h"
#include "app/toolkit/HeadlessToolkit.h"
#include "service/AppState.h"

namespace quorvel {

class ServiceTestBed : public ::testing::Test {
  protected:
    // Starts a fresh service with these options and points all three endpoints at it.
    void startService(demo::DemoOptions options = {}) {
        service = std::make_unique<demo::DemoService>(std::move(options));
        ASSERT_GT(service->start(0), 0);
        const std::string host = service->hostPort();
        setenv("QUORVEL_SEARCH_HOST", host.c_str(), 1);
        setenv("QUORVEL_PLAY_HOST", host.c_str(), 1);
        setenv("QUORVEL_UPDATE_URL", ("http://" + host + "/update-page.txt").c_str(), 1);
    }

    void SetUp() override {
        installToolkit(&headless);
        appState() = AppState{};
    }

    void TearDown() override {
        headless.joinThreads();
        installToolkit(nullptr);
        service.reset();
        for (const char* name : {"QUORVEL_SEARCH_HOST", "QUORVEL_PLAY_HOST", "QUORVEL_UPDATE_URL"})
            unsetenv(name);
    }

    HeadlessToolkit headless;
    std::unique_ptr<demo::DemoService> service;
};

} // namespace quorvel
