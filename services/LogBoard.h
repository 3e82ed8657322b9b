#pragma once

#include <QString>

// What the services know of the operation log board: the SQL helpers post their failures to it
// while it is showing.
class LogBoard
{
public:
    virtual ~LogBoard() = default;
    virtual void startRecording(bool rightToLeft, const QString& title) = 0;
    virtual void postThisMessage(const QString& key, const QString& value) = 0;
    virtual void stopRecording() = 0;
    virtual bool isShowing() const = 0;
};
