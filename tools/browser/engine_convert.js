// Module.convert(request): the engine's one entry (engine_request.h), JSON text in and out,
// the texts passed through the module's memory. Added to velkano_engine.js (--post-js).
Module['convert'] = function (request) {
  var size = lengthBytesUTF8(request) + 1;
  var input = _malloc(size);
  if (!input) throw new Error('no memory for the request');
  stringToUTF8(request, input, size);
  var output = _velkano_convert(input);
  _free(input);
  if (!output) throw new Error('no memory for the result');
  var text = UTF8ToString(output);
  _free(output);
  return text;
};
