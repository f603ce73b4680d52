#include "cli/console_printer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(ConsolePrinter, JobsRunInTheirOrderOnThePrintersThreadAndDrainWaitsForThem) {
  std::thread::id printerThread;
  std::vector<int> done;
  std::vector<std::thread::id> threads;
  ConsolePrinter printer([&printerThread] { printerThread = std::this_thread::get_id(); });
  // Small jobs are gathered, a large one starts the thread at once; the order stays.
  for (int i = 0; i < 500; ++i) {
    printer.Post(
        [i, &done, &threads] {
          done.push_back(i);
          threads.push_back(std::this_thread::get_id());
        },
        i == 250 ? 100000 : 1);
  }
  printer.Drain();
  ASSERT_EQ(done.size(), 500u);
  for (int i = 0; i < 500; ++i)
    ASSERT_EQ(done[static_cast<size_t>(i)], i);
  EXPECT_NE(printerThread, std::this_thread::get_id());
  for (const std::thread::id& thread : threads)
    ASSERT_EQ(thread, printerThread);
  // Nothing waiting: Drain returns at once.
  printer.Drain();
}

TEST(ConsolePrinter, WhatIsLeftIsPrintedAtTheEnd) {
  std::vector<int> done;
  {
    ConsolePrinter printer(nullptr);
    for (int i = 0; i < 3; ++i)
      printer.Post([i, &done] { done.push_back(i); }, 1);
  }
  EXPECT_EQ(done, (std::vector<int>{0, 1, 2}));
}

}  // namespace
