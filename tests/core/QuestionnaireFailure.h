#pragma once

#include "core/CoreErrors.h"
#include "core/QuestionnaireSheet.h"

#include <string>

// The message and place the user sees for `action`, or "nothing thrown".
template <typename Action> std::string failure(Action &&action)
{
    try {
        action();
    } catch (const QuestionnaireError &error) {
        return UserMessage(error);
    }
    return "nothing thrown";
}
