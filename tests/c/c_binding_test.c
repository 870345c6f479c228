/* The C binding used from plain C: handles, identifiers, errors, and bad input to every
 * function. Each group runs in its own process (see CMakeLists.txt). */
#include <stdlib.h>
#include <string.h>

#include "CheckC.h"

static unsigned open_count(void)
{
    unsigned count = 12345;
    CHECK_INT(mox_open_handle_count(&count), MOX_OK);
    return count;
}

static mox_handle make_product(const char* name)
{
    mox_handle product = 0;
    CHECK_INT(mox_product_id_create(name, "core", "2.1", &product), MOX_OK);
    return product;
}

/* Handle numbers, lifetimes and closing. */
static void group_handles(void)
{
    mox_handle first = make_product("first");
    mox_handle second = 0;
    char* text = NULL;
    CHECK_INT(first, 1);
    CHECK_INT(mox_product_id_parse("<product name=\"second\" version=\"3\"/>", &second), MOX_OK);
    CHECK_INT(second, 2);
    CHECK_INT(open_count(), 2);

    CHECK_INT(mox_handle_class(first, &text), MOX_OK);
    CHECK_STR(text, "MOX::APP::IProductId");
    mox_free(text);

    CHECK_INT(mox_close_handle(first), MOX_OK);
    CHECK_INT(open_count(), 1);
    CHECK_FAILURE(mox_product_id_marshal(first, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK(text == NULL);
    CHECK_FAILURE(mox_handle_class(first, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    CHECK_FAILURE(mox_to_string(first, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    /* Closing again fails, after clearing the error: what is left is the close's own. */
    CHECK_FAILURE(mox_close_handle(first), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);

    /* The still open handle works, and numbers are not reused. */
    CHECK_INT(mox_to_string(second, &text), MOX_OK);
    CHECK(text != NULL && strstr(text, "second") != NULL);
    mox_free(text);
    CHECK_INT(make_product("third"), 3);
    CHECK_INT(open_count(), 2);
}

/* Product ids: making, writing, reading back, and the library's own argument errors. */
static void group_products(void)
{
    mox_handle product = make_product("acme");
    mox_handle again = 0;
    mox_handle partial = 0;
    char* xml = NULL;
    char* xml_again = NULL;
    char* text = NULL;

    CHECK_INT(mox_product_id_marshal(product, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "acme") != NULL && strstr(xml, "core") != NULL);
    CHECK_INT(mox_product_id_parse(xml, &again), MOX_OK);
    CHECK_INT(mox_product_id_marshal(again, &xml_again), MOX_OK);
    CHECK_STR(xml_again, xml);
    CHECK_INT(mox_to_string(product, &text), MOX_OK);
    CHECK_STR(text, xml);
    mox_free(xml);
    mox_free(xml_again);
    mox_free(text);

    /* A product element with only a name: the version reads as 1.0. */
    CHECK_INT(mox_product_id_parse("<product name=\"solo\"/>", &partial), MOX_OK);
    CHECK_INT(mox_product_id_marshal(partial, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "1.0") != NULL);
    mox_free(xml);

    CHECK_INT(mox_product_id_create("n", "", "1", &again), MOX_OK);
    CHECK_FAILURE(mox_product_id_create("", "c", "1", &again), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    CHECK_INT(again, 0);
    CHECK_FAILURE(mox_product_id_create("n", "c", "", &again), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    CHECK_FAILURE(mox_product_id_parse("", &again), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
}

/* Application ids: registered and shared, written and read back. */
static void group_applications(void)
{
    mox_handle product = make_product("acme");
    mox_handle same_product = make_product("acme");
    mox_handle app = 0, twin = 0, parsed = 0, other = 0;
    char *xml = NULL, *twin_xml = NULL, *parsed_xml = NULL, *other_xml = NULL;

    CHECK_INT(mox_application_id_create(product, "console", &app), MOX_OK);
    CHECK_INT(mox_application_id_create(same_product, "console", &twin), MOX_OK);
    CHECK_INT(mox_application_id_create(product, "daemon", &other), MOX_OK);
    CHECK(app != twin && app > 0 && twin > 0);
    CHECK_INT(mox_application_id_marshal(app, &xml), MOX_OK);
    CHECK_INT(mox_application_id_marshal(twin, &twin_xml), MOX_OK);
    CHECK_INT(mox_application_id_marshal(other, &other_xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "console") != NULL && strstr(xml, "acme") != NULL);
    CHECK_STR(twin_xml, xml);
    CHECK(other_xml != NULL && xml != NULL && strcmp(other_xml, xml) != 0);
    mox_free(other_xml);
    other_xml = NULL;

    CHECK_INT(mox_application_id_parse(xml, &parsed), MOX_OK);
    CHECK_INT(mox_application_id_marshal(parsed, &parsed_xml), MOX_OK);
    CHECK_STR(parsed_xml, xml);

    /* The application id stays alive through its own handle after the product's close. */
    CHECK_INT(mox_close_handle(product), MOX_OK);
    mox_free(parsed_xml);
    parsed_xml = NULL;
    CHECK_INT(mox_application_id_marshal(app, &parsed_xml), MOX_OK);
    CHECK_STR(parsed_xml, xml);

    /* Wrong kinds of handle and the library's own refusals. */
    CHECK_FAILURE(mox_application_id_create(app, "x", &other), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_INT(other, 0);
    CHECK_FAILURE(mox_application_id_marshal(same_product, &other_xml), MOX_E_CLASS_CAST, "ClassCastException",
                  MSG_CAST);
    CHECK_FAILURE(mox_product_id_marshal(app, &other_xml), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_application_id_create(product, "x", &other), MOX_E_INVALID_HANDLE, "InvalidHandleException",
                  MSG_HANDLE);
    CHECK_FAILURE(mox_application_id_parse("", &other), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    CHECK_FAILURE(mox_application_id_parse("<app-id name=\"lonely\"/>", &other), MOX_E_INVALID_ARGUMENTS,
                  "InvalidArgumentException", MSG_ARGS);
    mox_free(xml);
    mox_free(twin_xml);
    mox_free(parsed_xml);
    mox_free(other_xml);
}

/* Identities made from a format and a text. */
static void group_identities(void)
{
    mox_handle user = 0, group = 0, mail = 0;
    char* text = NULL;
    CHECK_INT(mox_identity_create_user("QEL", "NT:CORP/alice", &user), MOX_OK);
    CHECK_INT(mox_identity_create_group("QEL", "NT:CORP/Group:admins", &group), MOX_OK);
    CHECK_INT(mox_identity_create_user("EMAIL", "bob@corp.example", &mail), MOX_OK);
    CHECK(user > 0 && group > 0 && mail > 0);

    CHECK_INT(mox_to_string(user, &text), MOX_OK);
    CHECK_STR(text, "NT:CORP/alice");
    mox_free(text);
    CHECK_INT(mox_to_string(group, &text), MOX_OK);
    CHECK_STR(text, "NT:CORP/Group:admins");
    mox_free(text);
    CHECK_INT(mox_handle_class(mail, &text), MOX_OK);
    CHECK_STR(text, "MOX::AUTHN::IIdentity");
    mox_free(text);

    /* Any texts are stored as given, empty ones and ones without an authority included. */
    CHECK_INT(mox_identity_create_user("", "", &user), MOX_OK);
    CHECK_INT(mox_identity_create_group("EMAIL", "no-at-sign", &group), MOX_OK);
    CHECK_INT(mox_to_string(group, &text), MOX_OK);
    CHECK_STR(text, "no-at-sign");
    mox_free(text);

    CHECK_FAILURE(mox_product_id_marshal(mail, &text), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_application_id_create(mail, "app", &user), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_INT(user, 0);
}

/* Attribute lists from their document and back. */
static void group_attributes(void)
{
    static const char document[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<attributes><attribute name=\"color\" type=\"String\"><value>red</value><value>bl&amp;ue</value></attribute>"
        "<attribute name=\"size\" type=\"Integer\" scope=\"shop\"><value>10</value></attribute>"
        "<attribute name=\"none\"/></attributes>";
    mox_handle list = 0, again = 0, empty = 0, product = make_product("p");
    size_t count = 0;
    char *xml = NULL, *xml_again = NULL, *text = NULL;

    CHECK_INT(mox_attributes_parse(document, &list), MOX_OK);
    CHECK_INT(mox_attributes_count(list, &count), MOX_OK);
    CHECK_INT(count, 3);
    CHECK_INT(mox_attributes_marshal(list, &xml), MOX_OK);
    CHECK(xml != NULL && strstr(xml, "color") != NULL && strstr(xml, "bl&amp;ue") != NULL && strstr(xml, "shop") != NULL);
    CHECK_INT(mox_attributes_parse(xml, &again), MOX_OK);
    CHECK_INT(mox_attributes_marshal(again, &xml_again), MOX_OK);
    CHECK_STR(xml_again, xml);
    CHECK_INT(mox_to_string(list, &text), MOX_OK);
    CHECK_STR(text, xml);
    mox_free(text);
    CHECK_INT(mox_handle_class(list, &text), MOX_OK);
    CHECK_STR(text, "MOX::Attributes::AttributeList");
    mox_free(text);

    CHECK_INT(mox_attributes_parse("<attributes/>", &empty), MOX_OK);
    CHECK_INT(mox_attributes_count(empty, &count), MOX_OK);
    CHECK_INT(count, 0);

    /* Documents that do not decode, and an attribute without a usable name. */
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"a\">", &again), MOX_E_UNMARSHAL,
                  "SerializationException", "Error converting string to object");
    CHECK_INT(again, 0);
    CHECK_FAILURE(mox_attributes_parse("<properties/>", &again), MOX_E_UNMARSHAL, "SerializationException",
                  "Error converting string to object");
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute><value>v</value></attribute></attributes>", &again),
                  MOX_E_UNMARSHAL, "SerializationException", "Error converting string to object");
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"\"/></attributes>", &again),
                  MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);

    /* Lists and other objects are not interchangeable. */
    CHECK_FAILURE(mox_attributes_marshal(product, &text), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_attributes_count(product, &count), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_INT(count, 0);
    CHECK_FAILURE(mox_product_id_marshal(list, &text), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    mox_free(xml);
    mox_free(xml_again);
}

/* The last error: absent, recorded, replaced, kept across successes, cleared by a close. */
static void group_errors(void)
{
    char* message = (char*)&message;
    char* name = NULL;
    mox_handle product = 0;

    CHECK_INT(mox_get_error(&message), 0);
    CHECK_STR(message, "");
    mox_free(message);
    CHECK_INT(mox_get_error(NULL), 0);
    CHECK_INT(mox_last_error_name(&name), MOX_OK);
    CHECK_STR(name, "No Error");
    mox_free(name);

    CHECK_FAILURE(mox_product_id_create("", "", "", &product), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException",
                  MSG_ARGS);
    /* Reading a name into NULL fails without touching the recorded error. */
    CHECK_INT(mox_last_error_name(NULL), MOX_E_NULL_POINTER);
    CHECK_INT(mox_get_error(NULL), MOX_E_INVALID_ARGUMENTS);

    /* A success leaves the error; a later failure replaces it. */
    product = make_product("ok");
    CHECK_INT(mox_get_error(NULL), MOX_E_INVALID_ARGUMENTS);
    CHECK_FAILURE(mox_product_id_marshal(product, NULL), MOX_E_NULL_POINTER, "InvalidArgumentException", MSG_NULL);

    /* Any close clears it, also one that fails for its own reason afterwards. */
    CHECK_INT(mox_close_handle(product), MOX_OK);
    CHECK_INT(mox_get_error(NULL), 0);
    CHECK_INT(mox_last_error_name(&name), MOX_OK);
    CHECK_STR(name, "No Error");
    mox_free(name);

    mox_free(NULL);
}

/* Every function given NULL pointers and handles that are not open: a negative result,
 * the same code recorded, outputs reset, nothing registered. */
static void group_bad_input(void)
{
    const mox_handle bad_handles[] = {0, -1, 77, 2147483647, -2147483647 - 1};
    size_t i;
    mox_handle product = make_product("p");
    mox_handle out = 99;
    char* text = (char*)&text;
    unsigned before = open_count();

#define EXPECT_NULL_FAILURE(call)                                                                \
    do {                                                                                         \
        CHECK_FAILURE((call), MOX_E_NULL_POINTER, "InvalidArgumentException", MSG_NULL);        \
    } while (0)

    EXPECT_NULL_FAILURE(mox_product_id_create(NULL, "c", "1", &out));
    CHECK_INT(out, 0);
    out = 99;
    EXPECT_NULL_FAILURE(mox_product_id_create("n", NULL, "1", &out));
    CHECK_INT(out, 0);
    EXPECT_NULL_FAILURE(mox_product_id_create("n", "c", NULL, &out));
    EXPECT_NULL_FAILURE(mox_product_id_create("n", "c", "1", NULL));
    EXPECT_NULL_FAILURE(mox_product_id_parse(NULL, &out));
    EXPECT_NULL_FAILURE(mox_product_id_parse("<product name=\"x\"/>", NULL));
    EXPECT_NULL_FAILURE(mox_product_id_marshal(product, NULL));
    EXPECT_NULL_FAILURE(mox_application_id_create(product, NULL, &out));
    EXPECT_NULL_FAILURE(mox_application_id_create(product, "n", NULL));
    EXPECT_NULL_FAILURE(mox_application_id_parse(NULL, &out));
    EXPECT_NULL_FAILURE(mox_application_id_parse("<app-id/>", NULL));
    EXPECT_NULL_FAILURE(mox_application_id_marshal(product, NULL));
    EXPECT_NULL_FAILURE(mox_identity_create_user(NULL, "v", &out));
    EXPECT_NULL_FAILURE(mox_identity_create_user("QEL", NULL, &out));
    EXPECT_NULL_FAILURE(mox_identity_create_user("QEL", "v", NULL));
    EXPECT_NULL_FAILURE(mox_identity_create_group(NULL, "v", &out));
    EXPECT_NULL_FAILURE(mox_identity_create_group("QEL", NULL, &out));
    EXPECT_NULL_FAILURE(mox_identity_create_group("QEL", "v", NULL));
    CHECK_INT(out, 0);
    EXPECT_NULL_FAILURE(mox_attributes_parse(NULL, &out));
    EXPECT_NULL_FAILURE(mox_attributes_parse("<attributes/>", NULL));
    EXPECT_NULL_FAILURE(mox_attributes_marshal(product, NULL));
    EXPECT_NULL_FAILURE(mox_attributes_count(product, NULL));
    EXPECT_NULL_FAILURE(mox_to_string(product, NULL));
    EXPECT_NULL_FAILURE(mox_handle_class(product, NULL));
    EXPECT_NULL_FAILURE(mox_open_handle_count(NULL));
    CHECK_INT(open_count(), before);

    for (i = 0; i < sizeof bad_handles / sizeof bad_handles[0]; ++i) {
        const mox_handle h = bad_handles[i];
        out = 99;
        text = (char*)&text;
        CHECK_FAILURE(mox_product_id_marshal(h, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
        CHECK(text == NULL);
        CHECK_FAILURE(mox_application_id_create(h, "n", &out), MOX_E_INVALID_HANDLE, "InvalidHandleException",
                      MSG_HANDLE);
        CHECK_INT(out, 0);
        CHECK_FAILURE(mox_application_id_marshal(h, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException",
                      MSG_HANDLE);
        CHECK_FAILURE(mox_to_string(h, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
        CHECK_FAILURE(mox_attributes_marshal(h, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
        {
            size_t count = 7;
            CHECK_FAILURE(mox_attributes_count(h, &count), MOX_E_INVALID_HANDLE, "InvalidHandleException",
                          MSG_HANDLE);
            CHECK_INT(count, 0);
        }
        CHECK_FAILURE(mox_handle_class(h, &text), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
        CHECK_FAILURE(mox_close_handle(h), MOX_E_INVALID_HANDLE, "InvalidHandleException", MSG_HANDLE);
    }
    CHECK_INT(open_count(), before);

    /* Texts that are not the documents asked for: either a clean failure or an object. */
    {
        typedef int (*parse_fn)(const char*, mox_handle*);
        const parse_fn parsers[] = {mox_product_id_parse, mox_application_id_parse, mox_attributes_parse};
        const char* junk[] = {"not xml at all", "<product", "<app-id><product name=\"a\"></app-id>",
                              "<<>>", "\xff\xfe", "<attributes><attribute name=\"x\"><value>&bogus;</value>"};
        size_t p;
        for (p = 0; p < sizeof parsers / sizeof parsers[0]; ++p) {
            for (i = 0; i < sizeof junk / sizeof junk[0]; ++i) {
                int rc;
                out = 99;
                rc = parsers[p](junk[i], &out);
                CHECK(rc < 0 || (rc == 0 && out > 0));
                if (rc < 0) {
                    CHECK_INT(out, 0);
                    CHECK_INT(mox_get_error(NULL), rc);
                } else {
                    CHECK_INT(mox_close_handle(out), MOX_OK);
                }
            }
        }
    }
    CHECK_INT(open_count(), before);
#undef EXPECT_NULL_FAILURE
}

int main(int argc, char** argv)
{
    static const check_group groups[] = {
        {"handles", group_handles},           {"products", group_products}, {"applications", group_applications},
        {"identities", group_identities},     {"attributes", group_attributes}, {"errors", group_errors},
        {"bad_input", group_bad_input},
    };
    return run_groups(groups, sizeof groups / sizeof groups[0], argc, argv);
}
