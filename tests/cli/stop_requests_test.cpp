#include "cli/stop_requests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(StopRequests, SessionEndReturnsOnlyOnceTheRunIsOver) {
  StopRequests stops;
  std::atomic<bool> returned{false};
  std::thread handler([&] {
    stops.EndAndWait();
    returned.store(true);
  });
  while (!stops.Interrupted())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());
  stops.RunOver();
  handler.join();
  EXPECT_TRUE(returned.load());
  stops.EndAndWait();  // after the run: at once
}

}  // namespace
