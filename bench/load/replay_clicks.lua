-- wrk script: every connection is a player who clicks through the game, replaying the
-- requests of real clicks in order (one request path a line in the file given after "--").
-- Each request is the game's own: the same target, Host, Accept and User-Agent.
--
--   wrk -s replay_clicks.lua http://HOST:PORT -- REQUESTS_FILE

local requests = {}
local next_request = 1

local function load_requests(file_name)
  local file = assert(io.open(file_name, "r"), "cannot read " .. file_name)
  local host = wrk.host
  if wrk.port ~= nil and wrk.port ~= "80" then host = host .. ":" .. wrk.port end
  for path in file:lines() do
    if path ~= "" then
      requests[#requests + 1] = "GET " .. path .. " HTTP/1.1\r\n" ..
        "Host: " .. host .. "\r\n" ..
        "Accept: text/html, */*\r\n" ..
        "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n"
    end
  end
  file:close()
  assert(#requests > 0, file_name .. " holds no request")
end

thread_number = 0
function setup(thread)
  thread:set("thread_number", thread_number)
  thread_number = thread_number + 1
end

function init(args)
  load_requests(args[1])
  -- Threads start at different clicks, so that they do not all ask for one file at once.
  -- wrk calls request() of the first thread once, to check it, before anything is sent: that
  -- call takes the last request, and the first one sent is the first of the file.
  local start = thread_number * 997
  if thread_number == 0 then start = -1 end
  next_request = start % #requests + 1
end

function request()
  local text = requests[next_request]
  next_request = next_request % #requests + 1
  return text
end

-- One line of figures for scripts/bench-load, tab-separated.
function done(summary, latency, _)
  local errors = summary.errors
  local seconds = summary.duration / 1e6
  io.write(string.format("replay\t%d\t%.0f\t%.3f\t%.3f\t%d\t%d\t%d\t%d\t%d\n",
    summary.requests, summary.requests / seconds,
    latency:percentile(50) / 1000, latency:percentile(99) / 1000,
    errors.connect, errors.read, errors.write, errors.timeout, errors.status))
end
