// The COM message filter on a thread of its own: its three answers (Wine never
// asks for the retry, so the busy-CAD retries are only seen here) and the
// previous filter put back when it is revoked.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "win32/bridge/MessageFilter.h"

using namespace quenlit::win;

TEST(Com, MessageFilterAnswersAndPutsThePreviousOneBack) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    MessageFilterRef earlier, filter;
    EXPECT_EQ(filter->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr), DWORD(SERVERCALL_ISHANDLED));
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), DWORD(-1));
    EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), DWORD(PENDINGMSG_WAITNOPROCESS));

    // Another filter was there first: it is registered again at the revoke.
    IMessageFilter* none = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoRegisterMessageFilter(earlier.get(), &none)));
    filter->RegisterFilter();
    filter->RevokeFilter();
    IMessageFilter* current = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoRegisterMessageFilter(nullptr, &current)));
    EXPECT_EQ(current, static_cast<IMessageFilter*>(earlier.get()));
    if (current) current->Release();
    if (none) none->Release();

    // COM let go of the revoked filter: ours is the only reference left.
    filter->AddRef();
    EXPECT_EQ(filter->Release(), 1u);
  }
  CoUninitialize();
}
