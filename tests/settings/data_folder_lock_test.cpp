#include "settings/data_folder_lock.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace zeltra::test {
namespace {

TEST(DataFolderLock, OneHolderAtATimeAndItsName) {
  TempDir dir;
  LockAttempt first = TryLockDataFolder(dir / "new folder", kLockHolderWindow);
  ASSERT_TRUE(first.lock);
  LockAttempt second = TryLockDataFolder(dir / "new folder", kLockHolderCli);
  EXPECT_FALSE(second.lock);
  EXPECT_FALSE(second.failed);
  EXPECT_EQ(second.holder, kLockHolderWindow);
  first.lock.reset();
  LockAttempt third = TryLockDataFolder(dir / "new folder", kLockHolderCli);
  EXPECT_TRUE(third.lock);
  EXPECT_EQ(LockHolderOf("zeltra-cli 4242\n"), "zeltra-cli");
  EXPECT_EQ(LockHolderOf(""), "");
}

}  // namespace
}  // namespace zeltra::test
