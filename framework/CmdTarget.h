// Message maps: tables that bind window messages and commands to member
// handlers. A class declares its map with FERRO_DECLARE_MESSAGE_MAP and defines
// it between FERRO_BEGIN_MESSAGE_MAP and FERRO_END_MESSAGE_MAP; each map chains to
// its base's map, so a derived class only names the messages it changes.
#pragma once

#include <windows.h>

class CCmdTarget;

// Every handler takes the message's two parameters and answers its result.
// A handler that does not consume its message calls Default() itself.
using MessageHandler = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);

struct MessageMapEntry {
    UINT nMessage;  // WM_xxx; WM_COMMAND for command entries
    UINT nCode;     // notification code of a command entry (BN_CLICKED, ...)
    UINT nID;       // control or command identifier of a command entry
    MessageHandler pfnHandler;
};

struct MessageMap {
    const MessageMap* (*pfnGetBaseMap)();
    const MessageMapEntry* pEntries;  // ends with an entry whose handler is null
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Finds the handler for a message in this object's map or its bases'.
    const MessageMapEntry* FindHandler(UINT nMessage, WPARAM wParam) const;

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
};

#define FERRO_DECLARE_MESSAGE_MAP()                      \
protected:                                               \
    static const MessageMap* GetThisMessageMap();        \
    const MessageMap* GetMessageMap() const override;

#define FERRO_BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                             \
        using ThisClass [[maybe_unused]] = theClass;                                             \
        using TheBaseClass = baseClass;                                           \
        static const MessageMapEntry entries[] = {

#define FERRO_ON_MESSAGE(message, memberFn) \
    { message, 0, 0, static_cast<MessageHandler>(&ThisClass::memberFn) },

#define FERRO_ON_COMMAND(code, id, memberFn) \
    { WM_COMMAND, code, id, static_cast<MessageHandler>(&ThisClass::memberFn) },

#define FERRO_END_MESSAGE_MAP()                                             \
            { 0, 0, 0, nullptr }                                            \
        };                                                                  \
        static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                        \
    }
