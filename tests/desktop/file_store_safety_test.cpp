// The settings file against crashes mid-save, a hostile or broken file
// system, and files that are not what they seem. Permission cases run in a
// child process that has dropped to an unprivileged user when the suite runs
// as root (as CI does), since root would walk through every permission.

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "store/file_store_posix.h"
#include "file_text.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// Everything in `dir` that looks like a commit's temporary file.
std::vector<std::string> Leftovers(const fs::path& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(".settings.ini.", 0) == 0) out.push_back(name);
  }
  return out;
}

// The text a save of values `v` leaves in the hand-edited file of the kill test.
std::string HandEdited(const SettingValues& v) {
  std::ostringstream s;
  s << "# written by hand, kept by every save\n[Quorvelian]\n; the turn\nFast=" << v[0]
    << "\nMystery=yes\nBright=" << v[1] << "\nSatiation=" << v[2] << "\nSize=" << v[3]
    << "\nSnow=" << v[4] << "\nFrame=" << v[5] << "\nClock=" << v[6]
    << "\n\n[Elsewhere]\nSize=99\n";
  return s.str();
}

SettingValues SaveNumber(long k) {
  SettingValues v{};
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int>(k * 10) + int(i);
  return v;
}

// Runs `body` in a child process, unprivileged when we are root; returns what
// it returned, or "crashed" / "hung".
std::string InChild(const std::function<std::string()>& body, bool drop_privileges = true,
                    unsigned timeout_seconds = 10) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return "no pipe";
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipe_fds[0]);
    alarm(timeout_seconds);
    std::string result;
    if (drop_privileges && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0)) {
      result = "cannot drop privileges";
    } else {
      result = body();
    }
    if (write(pipe_fds[1], result.data(), result.size()) < 0) _exit(3);
    _exit(0);
  }
  close(pipe_fds[1]);
  std::string out;
  char buffer[512];
  ssize_t n;
  while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, std::size_t(n));
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) return WTERMSIG(status) == SIGALRM ? "hung" : "crashed";
  return out;
}

// Hands a folder tree to the unprivileged user the children run as.
void GiveAway(const fs::path& root) {
  if (geteuid() != 0) return;
  if (lchown(root.c_str(), kNobody, kNogroup) != 0) ADD_FAILURE() << "chown " << root;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (lchown(e.path().c_str(), kNobody, kNogroup) != 0) ADD_FAILURE() << "chown " << e.path();
  }
}

// One save through the model, as "Save Settings" does: the error text, or "saved".
std::string Save(const fs::path& file) {
  SceneState scene;
  AssignSettings(scene, {1, 2, 3, 4, 5, 6, 7});
  FileSettingsStore store(file.string());
  try {
    SaveSettings(scene, store);
  } catch (const SettingsError& e) {
    return e.what();
  }
  return "saved";
}

class SafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qv-safety-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    dir_ = root_ / "quorvelian";
    file_ = dir_ / "settings.ini";
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }
  fs::path root_, dir_, file_;
};

constexpr const char* kOld =
    "; mine\n[Quorvelian]\nFast=9\nBright=9\nSatiation=9\nSize=9\n"
    "Snow=9\nFrame=9\nClock=9\n";
constexpr const char* kFailed = "Failed to set data for 'Fast'";

TEST_F(SafetyTest, KilledSavesLeaveOneWholeSaveAndTheNextSaveClearsTheDebris) {
  long k = 0;
  WriteFile(file_, HandEdited(SaveNumber(k)));
  std::mt19937 random(std::random_device{}());
  // Most kills should land inside a save (a few milliseconds each here).
  std::uniform_int_distribution<int> delay_us(0, 30000);
  int kills = 0, unchanged = 0, changed = 0, debris = 0;
  for (int round = 0; round < 200; ++round) {
    const long before = k;
    const std::string from = std::to_string(k + 1);
    const pid_t pid = fork();
    if (pid == 0) {
      execl(QV_SETTINGS_SAVER, "settings-saver", file_.c_str(), from.c_str(), "0",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(pid, 0);
    usleep(static_cast<useconds_t>(delay_us(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself in round " << round;
    ++kills;

    // Whichever save the file holds, it holds all of it and the hand-made lines.
    const std::string text = ReadFile(file_);
    long held = -1;
    if (std::sscanf(text.c_str(),
                    "# written by hand, kept by every save\n[Quorvelian]\n; the "
                    "turn\nFast=%ld",
                    &held) == 1) {
      held /= 10;
    }
    ASSERT_GE(held, before) << "round " << round << ":\n" << text;
    ASSERT_EQ(text, HandEdited(SaveNumber(held))) << "round " << round;
    held == before ? ++unchanged : ++changed;
    if (!Leftovers(dir_).empty()) ++debris;

    k = held + 1;
    ASSERT_EQ(Save(file_), "saved");  // through SaveSettings, values {1..7}
    EXPECT_TRUE(Leftovers(dir_).empty()) << "round " << round;
    WriteFile(file_, HandEdited(SaveNumber(k)));
  }
  std::printf(
      "%d kills: %d left the old save, %d a newer one; %d left a temporary file, "
      "each removed by the next save\n",
      kills, unchanged, changed, debris);
  RecordProperty("kills_with_debris", debris);
}

TEST_F(SafetyTest, StaleTemporaryFilesGoButLiveOnesAndOthersStay) {
  WriteFile(file_, kOld);
  const char* stale[] = {".settings.ini.AbC123", ".settings.ini.000000"};
  const char* kept[] = {".settings.ini.AbC12", ".settings.ini.AbC1234", ".settings.ini.ab-c12",
                        ".other.ini.AbC123", "settings.ini.AbC123"};
  for (const char* n : stale) WriteFile(dir_ / n, "half a save");
  for (const char* n : kept) WriteFile(dir_ / n, "not ours");
  fs::create_directory(dir_ / ".settings.ini.Dir123");
  // A save in progress elsewhere holds its file locked.
  const fs::path live = dir_ / ".settings.ini.LiVe99";
  WriteFile(live, "in progress");
  const int held = open(live.c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  // The lock belongs to this process; a save in a child must see it as taken.
  EXPECT_EQ(InChild([&] { return Save(file_); }, false), "saved");
  close(held);
  for (const char* n : stale) EXPECT_FALSE(fs::exists(dir_ / n)) << n;
  for (const char* n : kept) EXPECT_TRUE(fs::exists(dir_ / n)) << n;
  EXPECT_TRUE(fs::is_directory(dir_ / ".settings.ini.Dir123"));
  EXPECT_TRUE(fs::exists(live)) << "a locked file belongs to a running save";
  EXPECT_NE(ReadFile(file_).find("Clock=7\n"), std::string::npos);
}

// Every way a save can fail says so, keeps the old file and leaves nothing.
TEST_F(SafetyTest, FailedSavesAreSaidAndLeaveTheOldFileWhole) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    bool root_too;  // also refused when run with root's rights
  };
  const std::string old = kOld;
  const Case cases[] = {
      {"read-only folder", [&] { chmod(dir_.c_str(), 0555); }, false},
      {"file read-only for its owner", [&] { chmod(file_.c_str(), 0444); }, true},
      {"unreadable file", [&] { chmod(file_.c_str(), 0200); }, false},
      {"too large",
       [&] {
         std::string big = old;
         big.resize(FileSettingsStore::kMaxFileBytes + 1, '#');
         WriteFile(file_, big);
       },
       true},
  };
  for (const Case& c : cases) {
    for (const bool as_root : {false, true}) {
      if (as_root && (!c.root_too || geteuid() != 0)) continue;
      SCOPED_TRACE(std::string(c.what) + (as_root ? " (root)" : ""));
      fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
      fs::remove_all(dir_);
      fs::create_directories(dir_);
      WriteFile(file_, old);
      c.arrange();
      const std::string before = ReadFile(file_);
      struct stat st_before {};
      ASSERT_EQ(stat(file_.c_str(), &st_before), 0);
      if (!as_root) GiveAway(root_);
      EXPECT_EQ(InChild([&] { return Save(file_); }, !as_root), kFailed);
      EXPECT_EQ(ReadFile(file_), before);
      struct stat st_after {};
      ASSERT_EQ(stat(file_.c_str(), &st_after), 0);
      EXPECT_EQ(st_after.st_ino, st_before.st_ino) << "the file was replaced";
      EXPECT_EQ(st_after.st_mode, st_before.st_mode);
      EXPECT_TRUE(Leftovers(dir_).empty());
    }
  }
}

TEST_F(SafetyTest, FilesThatAreNotFilesNeverBlockAndAreNeverReplaced) {
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"FIFO", [&] { ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0); }},
      {"device", [&] { fs::create_symlink("/dev/zero", file_); }},
      {"folder", [&] { fs::create_directory(file_); }},
      {"socket",
       [&] {
         const int s = socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un addr{};
         addr.sun_family = AF_UNIX;
         std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", file_.c_str());
         ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
         close(s);
       }},
      {"loop of links", [&] { fs::create_symlink(file_, file_); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    c.make();
    GiveAway(root_);
    const auto type = fs::symlink_status(file_).type();
    // The first run goes on with the defaults for this run only; a save is refused.
    const std::string load = InChild(
        [&] {
          SceneState scene;
          FileSettingsStore store(file_.string());
          LoadSettings(scene, store, kSettingsWindowDefaults);
          return SettingsOf(scene) == kSettingsWindowDefaults && scene.MeshDetail == 2
                     ? std::string("defaults")
                     : std::string("other values");
        },
        true, 5);
    EXPECT_EQ(load, "defaults");
    EXPECT_EQ(InChild([&] { return Save(file_); }, true, 5), kFailed);
    EXPECT_EQ(fs::symlink_status(file_).type(), type);
    EXPECT_TRUE(Leftovers(dir_).empty());
  }
}

TEST_F(SafetyTest, AFileSwappedForAFolderMidSaveFailsWithoutDebris) {
  WriteFile(file_, kOld);
  FileSettingsStore store(file_.string());
  ASSERT_TRUE(store.OpenOrCreateKey(kSettingsKeyPath));
  store.WriteInteger("Fast", 3);
  fs::remove(file_);
  fs::create_directory(file_);
  WriteFile(file_ / "inside", "x");
  try {
    store.Commit();
    FAIL() << "renamed over a folder";
  } catch (const SettingsError& e) {
    EXPECT_STREQ(e.what(), kFailed);
  }
  EXPECT_TRUE(Leftovers(dir_).empty());
  EXPECT_EQ(ReadFile(file_ / "inside"), "x");
}

TEST_F(SafetyTest, ALinkStaysALinkEvenToAFileNotYetThere) {
  const fs::path dotfiles = root_ / "dotfiles";
  fs::create_directories(dotfiles);
  fs::create_symlink("../dotfiles/quorvelian.ini", file_);
  EXPECT_EQ(Save(file_), "saved");
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_NE(ReadFile(dotfiles / "quorvelian.ini").find("Fast=1\n"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat((dotfiles / "quorvelian.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u) << "a new settings file is private";
  EXPECT_TRUE(Leftovers(dotfiles).empty());
}

// Mounts need a private mount namespace: root, or no test.
std::string WithTmpfs(const fs::path& at, const std::string& options,
                      const std::function<std::string()>& body) {
  return InChild(
      [&]() -> std::string {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) != 0) {
          return "skip";
        }
        return body();
      },
      false);
}

std::string DropAndSave(const fs::path& file) {
  if (geteuid() == 0 &&
      (setgroups(0, nullptr) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0)) {
    return "cannot drop privileges";
  }
  return Save(file);
}

// The checks run inside the namespace; the child reports "error|same|clean".
std::string Report(const std::string& error, const std::string& before, const fs::path& file) {
  return error + "|" + (ReadFile(file) == before ? "same" : "changed") + "|" +
         (Leftovers(file.parent_path()).empty() ? "clean" : "debris");
}

TEST_F(SafetyTest, ReadOnlyMountAndFullDisk) {
  const std::string expected = std::string(kFailed) + "|same|clean";
  GiveAway(root_);
  const std::string ro = WithTmpfs(dir_, "size=64k,mode=0755,uid=65534,gid=65534", [&] {
    WriteFile(file_, kOld);
    if (mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      return std::string("skip");
    }
    return Report(DropAndSave(file_), kOld, file_);
  });
  if (ro == "skip") GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(ro, expected) << "read-only mount";

  const std::string full = WithTmpfs(dir_, "size=64k,mode=0755,uid=65534,gid=65534", [&] {
    const std::string old = std::string(kOld) + std::string(6000, ';') + "\n";
    WriteFile(file_, old);
    std::ofstream filler(dir_ / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) {
    }
    filler.close();
    chown((dir_ / "filler").c_str(), kNobody, kNogroup);
    chown(file_.c_str(), kNobody, kNogroup);
    return Report(DropAndSave(file_), old, file_);
  });
  EXPECT_EQ(full, expected) << "full disk";
}

}  // namespace
}  // namespace qv
