#include "shell/Guard.h"

#include "core/CoreErrors.h"

void showHandlerError(QWidget *parent, const std::exception &error)
{
    Prompts::current().showError(parent, QString::fromUtf8(UserMessage(error)));
}

void showUnknownHandlerError(QWidget *parent)
{
    Prompts::current().showError(parent, QStringLiteral("予期しないエラーが発生しました"));
}
