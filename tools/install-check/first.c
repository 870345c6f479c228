/* SPDX-License-Identifier: MIT */
/* An installed package at work through the C binding. */
#include <mox/mox_c.h>
#include <stdio.h>
int main(void)
{
    mox_handle when = 0;
    char* text = NULL;
    if (mox_datetime_parse("2026-12-04T05:38:45Z", &when) != 0 || mox_datetime_format(when, 1, &text) != 0)
        return 1;
    printf("C: %s (%s)\n", text, mox_version());
    mox_free(text);
    return 0;
}
