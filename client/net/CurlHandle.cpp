#include "HttpPost.h"

#include <curl/curl.h>

void* journal::newCurlHandle() {
    return curl_easy_init();
}
