/* SPDX-License-Identifier: MIT */
/* The C binding: parse an attributes document, read its values, write it back, and read
 * the reason of a failure. Every call returns 0 or a negative MOX code; strings handed
 * out are released with mox_free, handles with mox_close_handle. */
#include <mox/mox_c.h>

#include <stdio.h>

static int report(const char* what)
{
    const mox_error* e = mox_error_last();
    fprintf(stderr, "%s: %s %d: %s (%s)\n", what, e->name, e->code, e->message, e->detail);
    return 1;
}

int main(void)
{
    const char* document = "<attributes><attribute name=\"color\"><value>red</value>"
                           "<value>blue</value></attribute></attributes>";
    mox_handle list = 0;
    mox_handle color = 0;
    mox_handle when = 0;
    size_t count = 0;
    char* value = NULL;
    char* text = NULL;

    printf("library %s\n", mox_version());
    if (mox_attributes_parse(document, &list) != 0 || mox_attributes_find(list, "color", &color) != 0 ||
        mox_attribute_value_count(color, &count) != 0)
        return report("reading the attributes");
    for (size_t i = 0; i < count; ++i) {
        if (mox_attribute_value(color, i, &value) != 0)
            return report("reading a value");
        printf("color[%zu] = %s\n", i, value);
        mox_free(value);
    }
    if (mox_attributes_marshal(list, &text) != 0)
        return report("writing the attributes");
    printf("%s\n", text);
    mox_free(text);

    /* A failure: the month 13 does not exist. */
    if (mox_datetime_parse("2026-13-04T05:38:45Z", &when) == 0)
        return 1;
    printf("refused: %s %d\n", mox_error_last()->name, mox_error_last()->code);

    mox_close_handle(color);
    mox_close_handle(list);
    return 0;
}
