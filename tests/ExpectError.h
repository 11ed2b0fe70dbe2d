#pragma once

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

// Expects `action` to throw an `Error` whose text is exactly `text`: the user
// reads the text, so the right kind with a wrong word is a failure too.
template <typename Error, typename Action>
void ExpectError(const std::string &text, Action &&action)
{
    try {
        action();
        ADD_FAILURE() << "nothing thrown, expected " << typeid(Error).name() << ": " << text;
    } catch (const Error &error) {
        EXPECT_EQ(std::string(error.what()), text);
    }
}
