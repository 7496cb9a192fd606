-- Judges the four exports of the sidechain check. The sidechain must change
-- the output in the running session and after reopening, and the reopened
-- session must sound as the running one did. Levels are compared after the
-- first half second, once the detector has settled on the steady tones.
--   ardour7-lua compare-exports.lua EXPORT_DIR
local export_dir = arg[1]
local skip_seconds = 0.5
local min_effect_db = 1.0     -- the sidechain's effect on the output level
local same_db = 0.1           -- reopened against running, per export
local min_level_db = -60.0    -- an export this quiet means nothing was heard

-- Left and right channels of a 32-bit float WAV file.
local function read_wav (path)
	local f = io.open (path, "rb")
	if not f then return nil, path .. " is missing" end
	local data = f:read ("a")
	f:close ()
	if data:sub (1, 4) ~= "RIFF" or data:sub (9, 12) ~= "WAVE" then return nil, path .. " is not a WAV file" end
	local pos, format, channels, bits = 13, nil, nil, nil
	while pos + 8 <= #data do
		local id, size = data:sub (pos, pos + 3), string.unpack ("<I4", data, pos + 4)
		if id == "fmt " then
			format, channels = string.unpack ("<I2I2", data, pos + 8)
			bits = string.unpack ("<I2", data, pos + 22)
		elseif id == "data" then
			if not channels or channels < 1 or bits ~= 32 or (format ~= 3 and format ~= 0xFFFE) then
				return nil, path .. " is not 32-bit float"
			end
			local frames = math.min (size, #data - pos - 7) // (4 * channels)
			local left, right, p = {}, {}, pos + 8
			for i = 1, frames do
				left[i] = string.unpack ("<f", data, p)
				right[i] = channels > 1 and string.unpack ("<f", data, p + 4) or left[i]
				p = p + 4 * channels
			end
			return { left = left, right = right }
		end
		pos = pos + 8 + size + (size % 2)
	end
	return nil, path .. " holds no audio"
end

local function level_db (audio, rate)
	local first = math.floor (skip_seconds * rate) + 1
	local sum, n = 0, 0
	for i = first, #audio.left do
		local l, r = audio.left[i], audio.right[i]
		if l ~= l or r ~= r or math.abs (l) == math.huge or math.abs (r) == math.huge then return nil end
		sum = sum + l * l + r * r
		n = n + 2
	end
	if n == 0 then return -math.huge end
	return sum > 0 and 10 * math.log (sum / n, 10) or -math.huge
end

local failures = 0
local function expect (ok, text)
	print ((ok and "  ok    " or "  FAIL  ") .. text)
	if not ok then failures = failures + 1 end
end

local levels = {}
for _, name in ipairs ({ "live-loud", "live-silent", "reopened-loud", "reopened-silent" }) do
	local audio, err = read_wav (export_dir .. "/" .. name .. ".wav")
	if not audio then
		print ("  FAIL  " .. err)
		os.exit (1)
	end
	local db = level_db (audio, 48000)
	expect (db ~= nil, name .. ": every sample is a finite number")
	db = db or -math.huge
	levels[name] = db
	expect (db > min_level_db, string.format ("%s: level %.2f dBFS, above %.0f dBFS", name, db, min_level_db))
end

for _, phase in ipairs ({ "live", "reopened" }) do
	local effect = math.abs (levels[phase .. "-loud"] - levels[phase .. "-silent"])
	expect (effect >= min_effect_db, string.format (
		"%s session: the sidechain changes the output level by %.2f dB (loud %.2f, silent %.2f dBFS; at least %.1f dB)",
		phase == "live" and "running" or "reopened", effect, levels[phase .. "-loud"], levels[phase .. "-silent"],
		min_effect_db))
end
for _, key in ipairs ({ "loud", "silent" }) do
	local a, b = levels["live-" .. key], levels["reopened-" .. key]
	expect (math.abs (a - b) <= same_db, string.format (
		"%s sidechain: reopened %.2f dBFS against running %.2f dBFS (within %.1f dB)", key, b, a, same_db))
end

if failures > 0 then
	print (failures .. " check(s) failed")
	os.exit (1)
end
print ("all checks passed")
