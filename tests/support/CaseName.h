#pragma once

#include <gtest/gtest.h>

#include <string>

// Names each case of a parameterised test by its `what`: a few words written
// by hand, saying what the case shows. gtest stops at a name that is not
// letters, digits and underscores, or that two cases share.
struct ByWhat {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case> &info) const {
        return info.param.what;
    }
};
