#pragma once
// A fresh database file with its workgroup file in a temporary folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/dao/dao.h"
#include "tests/support/support.h"

namespace daotest {

inline constexpr const char* kUser = "tester01";
inline constexpr const char* kPassword = "Secreto9";

class DaoTest : public ::testing::Test {
protected:
    void SetUp() override;
    // An engine that logs in with the test account on this folder's workgroup file.
    std::unique_ptr<dao::DBEngine> NewEngine() const;
    std::unique_ptr<dao::Database> OpenSecond(bool exclusive = false);
    // Runs f and returns the engine error number it threw (0 when none).
    template <typename F>
    static long ErrorOf(F&& f) {
        try {
            f();
        } catch (const dao::Error& e) {
            return e.Number();
        }
        return 0;
    }

    zvtest::TempDir dir;
    std::string dbPath, mdwPath;
    std::unique_ptr<dao::DBEngine> engine;
    std::unique_ptr<dao::DBEngine> engine2;  // the second connection's engine
    std::unique_ptr<dao::Database> db;
};

}  // namespace daotest
