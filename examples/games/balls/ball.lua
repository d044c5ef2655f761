-- One ball: moves by its speed every frame and bounces off the edges.
local picture = loadTexture("ball.png")
local colours = {
    {255, 90, 90}, {90, 220, 110}, {90, 150, 255},
    {255, 220, 80}, {220, 110, 255}, {80, 230, 230},
}

function start(id)
    local width, height = screenSize()
    while true do
        local x, y = getKey(id, "x"), getKey(id, "y")
        local vx, vy = getKey(id, "vx"), getKey(id, "vy")
        if not frozen then
            local dt = frameTime()
            x, y = x + vx * dt, y + vy * dt
            if x < 0 and vx < 0 or x > width - 32 and vx > 0 then vx = -vx end
            if y < 80 and vy < 0 or y > height - 120 and vy > 0 then vy = -vy end
            setKey(id, "x", x); setKey(id, "y", y)
            setKey(id, "vx", vx); setKey(id, "vy", vy)
        end
        drawSprite(picture, x, y, {tint = colours[getKey(id, "colour")]})
        wait(nextFrame(id))
    end
end
