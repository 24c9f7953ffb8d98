-- Tail calls through a __call handler take the place of the calling frame.

local countdown = setmetatable({}, {__call = function(self, n)
  if n == 0 then return "done" end
  return self(n - 1)
end})
print("callable 200000:", countdown(200000))

-- a function and a callable table calling each other in tail position
local ping
local pong = setmetatable({}, {__call = function(self, n)
  if n == 0 then return "pong" end
  return ping(n - 1)
end})
function ping(n)
  if n == 0 then return "ping" end
  return pong(n - 1)
end
print("alternating 200001:", ping(200001))

-- arguments and results pass through unchanged
local echo = setmetatable({}, {__call = function(self, a, b, c) return c, b, a end})
local function relay(a, b, c) return echo(a, b, c) end
print("results:", relay(1, nil, "three"))
print("count:", table.getn({relay(1, 2, 3)}))

-- a native handler
local same = setmetatable({}, {__call = rawequal})
local function check(x) return same(x) end
print("native handler:", check(same), check(1))

-- a handler that is not a function
local function callIt(t) return t(1) end
print("no handler:", pcall(callIt, setmetatable({}, {__call = {}})))
print("plain table:", pcall(callIt, {}))
