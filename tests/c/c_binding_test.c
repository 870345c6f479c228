/* The C binding used from plain C. Each group runs in its own process. */
#include <stdlib.h>
#include <string.h>

#include "CheckC.h"

static unsigned open_count(void)
{
    unsigned count = 12345;
    CHECK_INT(mox_open_handle_count(&count), MOX_OK);
    return count;
}

/* Handle numbers and lifetimes, and the last error around them. */
static void group_handles(void)
{
    mox_handle first = 0, second = 0;
    char* text = (char*)&text;
    CHECK_INT(mox_get_error(&text), 0);
    CHECK_STR(text, "");
    mox_free(text);
    CHECK_INT(mox_last_error_name(&text), MOX_OK);
    CHECK_STR(text, "No Error");
    mox_free(text);

    CHECK_INT(mox_product_id_create("first", "", "1", &first), MOX_OK);
    CHECK_INT(mox_product_id_parse("<product name=\"second\"/>", &second), MOX_OK);
    CHECK_INT(first, 1);
    CHECK_INT(second, 2);
    CHECK_INT(open_count(), 2);
    CHECK_INT(mox_handle_class(first, &text), MOX_OK);
    CHECK_STR(text, "MOX::APP::IProductId");
    mox_free(text);

    CHECK_INT(mox_close_handle(first), MOX_OK);
    CHECK_INT(open_count(), 1);
    CHECK_FAILURE(mox_to_string(first, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK(text == NULL);
    /* A success leaves the error; reading a name into NULL does not touch it. */
    CHECK_INT(mox_to_string(second, &text), MOX_OK);
    CHECK(text != NULL && strstr(text, "second") != NULL && strstr(text, "1.0") != NULL);
    mox_free(text);
    CHECK_INT(mox_last_error_name(NULL), MOX_E_NULL_POINTER);
    CHECK_INT(mox_get_error(NULL), MOX_E_INVALID_HANDLE);
    /* Any close clears it first: a failing one leaves only its own. */
    CHECK_FAILURE(mox_close_handle(first), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK_INT(mox_close_handle(second), MOX_OK);
    CHECK_INT(mox_get_error(NULL), 0);
    mox_free(NULL);
}

/* Product and application ids and identities: written, read back, refused. */
static void group_identifiers(void)
{
    mox_handle product = 0, app = 0, parsed = 0, user = 0, none = 7;
    char *xml = NULL, *other = NULL;
    CHECK_INT(mox_product_id_create("acme", "core", "2.1", &product), MOX_OK);
    CHECK_INT(mox_product_id_marshal(product, &xml), MOX_OK);
    CHECK_INT(mox_product_id_parse(xml, &parsed), MOX_OK);
    CHECK_INT(mox_product_id_marshal(parsed, &other), MOX_OK);
    CHECK_STR(other, xml);
    mox_free(xml);
    mox_free(other);

    CHECK_INT(mox_application_id_create(product, "console", &app), MOX_OK);
    CHECK_INT(mox_close_handle(product), MOX_OK); /* the id keeps its product */
    CHECK_INT(mox_application_id_marshal(app, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "console") != NULL && strstr(xml, "acme") != NULL);
    CHECK_INT(mox_application_id_parse(xml, &parsed), MOX_OK);
    CHECK_INT(mox_application_id_marshal(parsed, &other), MOX_OK);
    CHECK_STR(other, xml);
    mox_free(xml);
    mox_free(other);

    CHECK_INT(mox_identity_create_group("QEL", "NT:CORP/Group:admins", &user), MOX_OK);
    CHECK_INT(mox_identity_marshal(user, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "GroupIdentifier") != NULL);
    CHECK_INT(mox_identity_parse(xml, &parsed), MOX_OK);
    CHECK_INT(mox_to_string(parsed, &other), MOX_OK);
    CHECK_STR(other, "NT:CORP/Group:admins");
    mox_free(xml);
    mox_free(other);
    CHECK_INT(mox_identity_create_user("EMAIL", "no-at-sign", &user), MOX_OK); /* stored as given */
    CHECK_FAILURE(mox_identity_parse("no slash", &none), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    CHECK_FAILURE(mox_product_id_create("", "c", "1", &none), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    CHECK_INT(none, 0);
    CHECK_FAILURE(mox_application_id_parse("<app-id name=\"x\"/>", &none), MOX_E_INVALID_ARGUMENTS,
                  "InvalidArgumentException", MSG_ARGS);
    CHECK_FAILURE(mox_application_id_create(user, "x", &none), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_product_id_marshal(app, &xml), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_identity_marshal(app, &xml), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
}

/* Attribute lists from their document and back. */
static void group_attributes(void)
{
    static const char document[] =
        "<attributes><attribute name=\"color\" type=\"String\"><value>red</value><value>bl&amp;ue</value></attribute>"
        "<attribute name=\"size\" type=\"Integer\" scope=\"shop\"><value>10</value></attribute></attributes>";
    mox_handle list = 0, again = 0, product = 0;
    size_t count = 0;
    char *xml = NULL, *other = NULL;
    CHECK_INT(mox_attributes_parse(document, &list), MOX_OK);
    CHECK_INT(mox_attributes_count(list, &count), MOX_OK);
    CHECK_INT(count, 2);
    CHECK_INT(mox_attributes_marshal(list, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "bl&amp;ue") != NULL && strstr(xml, "shop") != NULL);
    CHECK_INT(mox_attributes_parse(xml, &again), MOX_OK);
    CHECK_INT(mox_to_string(again, &other), MOX_OK);
    CHECK_STR(other, xml);
    mox_free(xml);
    mox_free(other);

    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"a\">", &again), MOX_E_UNMARSHAL,
                  "SerializationException", "Error converting string to object");
    CHECK_INT(again, 0);
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"\"/></attributes>", &again),
                  MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
    CHECK_INT(mox_product_id_create("p", "", "1", &product), MOX_OK);
    CHECK_FAILURE(mox_attributes_count(product, &count), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_INT(count, 0);
}

/* Every function given NULL pointers, handles that are not open, and junk texts: a
 * negative result, the same code recorded, outputs reset, nothing registered. */
static void group_bad_input(void)
{
    typedef int (*parse_fn)(const char*, mox_handle*);
    const parse_fn parsers[] = {mox_product_id_parse, mox_application_id_parse, mox_identity_parse,
                                mox_attributes_parse};
    const char* junk[] = {"", "<product", "\xff\xfe", "<attributes><attribute name=\"x\">&bogus;",
                          "<UserIdentifier format=\"QEL\"/>"};
    const mox_handle bad[] = {0, -1, 77};
    mox_handle product = 0, out = 9;
    size_t i, j, count = 9;
    char* text = (char*)&text;
    unsigned before;
    CHECK_INT(mox_product_id_create("p", "", "1", &product), MOX_OK);
    before = open_count();

#define NULL_FAILS(call) CHECK_FAILURE((call), MOX_E_NULL_POINTER, "NullPointerException", MSG_NULL)
    NULL_FAILS(mox_product_id_create(NULL, "c", "1", &out));
    NULL_FAILS(mox_product_id_create("n", NULL, "1", &out));
    NULL_FAILS(mox_product_id_create("n", "c", NULL, &out));
    NULL_FAILS(mox_product_id_create("n", "c", "1", NULL));
    NULL_FAILS(mox_application_id_create(product, NULL, &out));
    NULL_FAILS(mox_application_id_create(product, "n", NULL));
    NULL_FAILS(mox_identity_create_user(NULL, "v", &out));
    NULL_FAILS(mox_identity_create_user("QEL", NULL, &out));
    NULL_FAILS(mox_identity_create_group("QEL", "v", NULL));
    NULL_FAILS(mox_product_id_marshal(product, NULL));
    NULL_FAILS(mox_application_id_marshal(product, NULL));
    NULL_FAILS(mox_identity_marshal(product, NULL));
    NULL_FAILS(mox_attributes_marshal(product, NULL));
    NULL_FAILS(mox_attributes_count(product, NULL));
    NULL_FAILS(mox_to_string(product, NULL));
    NULL_FAILS(mox_handle_class(product, NULL));
    NULL_FAILS(mox_open_handle_count(NULL));
    for (i = 0; i < sizeof parsers / sizeof parsers[0]; ++i) {
        NULL_FAILS(parsers[i](NULL, &out));
        NULL_FAILS(parsers[i]("<product name=\"x\"/>", NULL));
    }
#undef NULL_FAILS
    CHECK_INT(out, 0);

    for (i = 0; i < sizeof bad / sizeof bad[0]; ++i) {
#define BAD_HANDLE(call) CHECK_FAILURE((call), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE)
        BAD_HANDLE(mox_product_id_marshal(bad[i], &text));
        CHECK(text == NULL);
        BAD_HANDLE(mox_application_id_create(bad[i], "n", &out));
        BAD_HANDLE(mox_application_id_marshal(bad[i], &text));
        BAD_HANDLE(mox_identity_marshal(bad[i], &text));
        BAD_HANDLE(mox_attributes_marshal(bad[i], &text));
        BAD_HANDLE(mox_attributes_count(bad[i], &count));
        BAD_HANDLE(mox_to_string(bad[i], &text));
        BAD_HANDLE(mox_handle_class(bad[i], &text));
        BAD_HANDLE(mox_close_handle(bad[i]));
#undef BAD_HANDLE
    }
    CHECK_INT(count, 0);

    for (i = 0; i < sizeof parsers / sizeof parsers[0]; ++i) {
        for (j = 0; j < sizeof junk / sizeof junk[0]; ++j) {
            const int rc = parsers[i](junk[j], &out);
            CHECK(rc < 0 ? out == 0 && mox_get_error(NULL) == rc : rc == 0 && mox_close_handle(out) == 0);
        }
    }
    CHECK_INT(open_count(), before);
}

int main(int argc, char** argv)
{
    static const check_group groups[] = {{"handles", group_handles},
                                         {"identifiers", group_identifiers},
                                         {"attributes", group_attributes},
                                         {"bad_input", group_bad_input}};
    return run_group(groups, sizeof groups / sizeof groups[0], argc, argv);
}
