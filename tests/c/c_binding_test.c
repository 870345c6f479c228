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
    CHECK_INT(mox_identity_parse(xml, &parsed), MOX_OK);
    CHECK_INT(mox_identity_marshal(parsed, &other), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "GroupIdentifier") != NULL && other != NULL && strcmp(xml, other) == 0);
    mox_free(xml);
    mox_free(other);
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

/* Every function of each shape given NULL pointers, handles that are not open, handles
 * of the wrong kind, and junk texts: a negative result, the same code recorded, outputs
 * reset, nothing registered. */
static void group_bad_input(void)
{
    typedef int (*parse_fn)(const char*, mox_handle*);
    static const parse_fn parsers[] = {
        mox_product_id_parse, mox_application_id_parse, mox_identity_parse,    mox_attributes_parse,
        mox_identities_parse, mox_account_parse,        mox_authority_parse,   mox_qualified_name_parse,
        mox_attribute_parse,  mox_class_id_parse,       mox_interface_id_parse, mox_loader_id_parse,
        mox_datetime_parse};
    /* Readers of one text; those from the fourth on refuse a product id. */
    static const read_fn readers[] = {
        mox_to_string, mox_handle_class, mox_product_id_marshal, mox_application_id_marshal,
        mox_identity_marshal, mox_attributes_marshal, mox_identity_format, mox_identity_value, mox_identity_type,
        mox_identity_name, mox_identity_authority_name, mox_identity_authority_format, mox_identities_marshal,
        mox_account_name, mox_account_type, mox_authority_format, mox_authority_name, mox_variant_type,
        mox_variant_value, mox_variant_tag, mox_qualified_name_name, mox_qualified_name_format,
        mox_qualified_name_scope, mox_attribute_marshal, mox_attribute_name, mox_attribute_format,
        mox_attribute_scope, mox_class_id_name, mox_class_id_loader, mox_class_id_marshal, mox_interface_id_name,
        mox_interface_id_marshal, mox_loader_id_name, mox_loader_id_file, mox_loader_id_marshal};
    static const char* junk[] = {"", "<product", "\xff\xfe", "<attributes><attribute name=\"x\">&bogus;",
                                 "<UserIdentifier format=\"QEL\"/>"};
    mox_handle product = 0, out = 9;
    const mox_handle bad[] = {0, -1, 77};
    size_t i, j, count = 9;
    char* text = (char*)&text;
    unsigned before;
    CHECK_INT(mox_product_id_create("p", "", "1", &product), MOX_OK);
    before = open_count();

#define NULL_FAILS(call) CHECK_FAILURE((call), MOX_E_NULL_POINTER, "NullPointerException", MSG_NULL)
    NULL_FAILS(mox_product_id_create(NULL, "c", "1", &out));
    NULL_FAILS(mox_product_id_create("n", "c", NULL, &out));
    NULL_FAILS(mox_application_id_create(product, NULL, &out));
    NULL_FAILS(mox_identity_create_user(NULL, "v", &out));
    NULL_FAILS(mox_identity_create_group("QEL", "v", NULL));
    NULL_FAILS(mox_attribute_create("n", NULL, "", &out));
    NULL_FAILS(mox_variant_create_string("v", NULL, &out));
    NULL_FAILS(mox_properties_parse("<p/>", NULL, &out));
    NULL_FAILS(mox_datetime_now(NULL));
    NULL_FAILS(mox_attributes_count(product, NULL));
    NULL_FAILS(mox_compare(product, product, NULL));
    NULL_FAILS(mox_open_handle_count(NULL));
    for (i = 0; i < sizeof parsers / sizeof parsers[0]; ++i) {
        NULL_FAILS(parsers[i](NULL, &out));
        NULL_FAILS(parsers[i]("<product name=\"x\"/>", NULL));
        for (j = 0; j < sizeof junk / sizeof junk[0]; ++j) {
            const int rc = parsers[i](junk[j], &out);
            CHECK(rc < 0 ? out == 0 && mox_get_error(NULL) == rc : rc == 0 && mox_close_handle(out) == 0);
        }
    }
    for (i = 0; i < sizeof readers / sizeof readers[0]; ++i) {
        NULL_FAILS(readers[i](product, NULL));
        for (j = 0; j < sizeof bad / sizeof bad[0]; ++j) {
            CHECK_FAILURE(readers[i](bad[j], &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
            CHECK(text == NULL);
        }
        if (i >= 3)
            CHECK_FAILURE(readers[i](product, &text), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    }
#undef NULL_FAILS
    CHECK_INT(out, 0);
    CHECK_FAILURE(mox_attributes_count(bad[2], &count), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK_FAILURE(mox_close_handle(bad[0]), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK_INT(count, 0);
    CHECK_INT(open_count(), before);
}

int main(int argc, char** argv)
{
    static const check_group groups[] = {{"handles", group_handles},
                                         {"identifiers", group_identifiers},
                                         {"bad_input", group_bad_input}};
    return run_group(groups, sizeof groups / sizeof groups[0], argc, argv);
}
