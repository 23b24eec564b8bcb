// The photo worker: serves the queue newest first, fetching a request's index
// file when it is missing or a day old, then at most one missing photo.
#pragma once

#include <windows.h>

#include "common/settings/http_log.h"
#include "tempovia/photos/photo_request.h"

// Queues a photo request of the main window: cityIndex negative asks for the
// whole country of city -cityIndex. Nothing is queued while the program exits,
// with photos off, for a city outside the table or without a cache root. True
// when the request is queued (or merged with an equal one).
bool QueuePhotoRequest(int cityIndex, HWND requester);
// Drops every waiting request.
void ClearPhotoQueue();

// Serves the queue until it is empty or photos are no longer wanted.
void RunPhotoQueue();
DWORD WINAPI PhotoThread(void*);

// Brings the request's index.tsv up to date; true when it is there to read.
bool FetchPhotoIndex(CHttpSession& session, const PhotoRequest& request);
// Downloads the first listed photo missing from the cache; the number of
// photos downloaded (0 or 1).
int FetchPhotos(CHttpSession& session, const PhotoRequest& request);
