// The JSON form of a task file and its turnpoints, as `velkano dump` prints it and
// `velkano build` reads it back. Texts are windows-1252 in the files and UTF-8 in JSON.
#pragma once

#include "formats/json_text.h"
#include "formats/note.h"
#include "formats/output_sink.h"
#include "formats/task_model.h"

namespace velkano::tool {

Json turnpointToJson(const FIO_TPEntry& entry);
// The document `velkano dump` prints.
Json taskToJson(const TaskDocument& task);

// formatJson(taskToJson(task)), handed to sink in blocks: a task file of thousands of routes
// is never held as one document or one text.
void writeTaskJson(const TaskDocument& task, const OutputSink& sink);

// Checks every member strictly: unknown names, wrong types, values a file cannot hold and
// texts with no windows-1252 form are refused with a JsonError naming the item.
TaskDocument taskFromJson(const Json& document);

// Texts longer than their field: the file keeps their first characters. Each note is at
// the member's JSON pointer.
Notes storageNotes(const TaskDocument& task);

}  // namespace velkano::tool
